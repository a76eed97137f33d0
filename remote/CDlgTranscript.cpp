#include "remote/CDlgTranscript.h"

#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

CDlgTranscript::CDlgTranscript(wxWindow* parent, const std::vector<std::string>& lines)
    : CDialogBase(parent, _("Details"), OkAtOpen::enabled) {
    for (const std::string& line : lines)
        m_text += wxString::FromUTF8(line) + "\n";
    if (m_text.empty())
        m_text = _("(no transcript: nothing was sent)") + "\n";
    const int gap = FromDIP(7);
    auto* top = new wxBoxSizer(wxVERTICAL);
    m_pTranscript = new wxTextCtrl(this, IDC_TRANSCRIPT, m_text, wxDefaultPosition, FromDIP(wxSize(560, 320)),
                                   wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxHSCROLL);
    m_pTranscript->SetFont(wxFont(wxFontInfo().Family(wxFONTFAMILY_TELETYPE)));
    top->Add(m_pTranscript, 1, wxEXPAND | wxALL, gap);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* copy = new wxButton(this, IDC_COPY, _("Copy"));
    copy->SetToolTip(_("Put the whole transcript on the clipboard"));
    row->Add(copy, 0, wxALIGN_CENTER_VERTICAL);
    row->AddStretchSpacer();
    row->Add(CreateOkButton(this), 0, wxALIGN_CENTER_VERTICAL);
    top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizerAndFit(top);
    copy->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCopy(); });
    SetInitialFocus(m_pTranscript);
}

void CDlgTranscript::OnCopy() {
    if (!wxTheClipboard->Open()) {
        ShowError(this, _("The clipboard is in use by another program. Try again."));
        return;
    }
    wxTheClipboard->SetData(new wxTextDataObject(m_text));
    wxTheClipboard->Close();
}
