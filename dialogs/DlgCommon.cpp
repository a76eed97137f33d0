#include "dialogs/DlgCommon.h"

#include <limits>
#include <wx/button.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>

namespace corvane::dlg {

std::int32_t ReadLeadingNumber(const wxString& text) {
    std::int64_t value = 0;
    for (const wxUniChar ch : text) {
        if (ch < '0' || ch > '9')
            break;
        value = value * 10 + (ch.GetValue() - '0');
        if (value > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

wxString FormatNumber(std::int32_t value) {
    return wxString::Format("%d", static_cast<int>(value));
}

wxString Trimmed(const wxString& text) {
    wxString out = text;
    out.Trim(true).Trim(false);
    return out;
}

void ShowInformation(wxWindow* parent, const wxString& text, const wxString& caption) {
    wxMessageBox(text, caption, wxOK | wxICON_INFORMATION, parent);
}

void ShowError(wxWindow* parent, const wxString& text) {
    wxMessageBox(text, kCaptionError, wxOK | wxICON_ERROR, parent);
}

bool AskYesNo(wxWindow* parent, const wxString& text) {
    return wxMessageBox(text, kCaptionQuestion, wxYES_NO | wxICON_QUESTION, parent) == wxYES;
}

wxSizer* MakeButtonRow(wxWindow* parent, bool withCancel) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->AddStretchSpacer();
    auto* ok = new wxButton(parent, wxID_OK, "OK");
    ok->SetDefault();
    row->Add(ok, 0, wxRIGHT, withCancel ? parent->FromDIP(8) : 0);
    if (withCancel)
        row->Add(new wxButton(parent, wxID_CANCEL, "Cancel"));
    return row;
}

} // namespace corvane::dlg
