#pragma once
// "Details": the transcript of a connection test or of a browse (stages with their times,
// commands and replies, secrets masked, control characters escaped), to read and to copy
// into a support ticket.
#include "controls/CDialogBase.h"

#include <string>
#include <vector>

class wxTextCtrl;

class CDlgTranscript : public CDialogBase {
public:
    enum { IDC_TRANSCRIPT = 1110, IDC_COPY = 1111 };

    // `lines` are UTF-8 and already safe to show (CRemoteFolderSession::GetTranscript).
    CDlgTranscript(wxWindow* parent, const std::vector<std::string>& lines);

    // The whole transcript, one line each, as Copy puts it on the clipboard.
    const wxString& GetText() const { return m_text; }

private:
    void OnCopy();

    wxString m_text;
    wxTextCtrl* m_pTranscript = nullptr;
};
