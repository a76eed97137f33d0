#include "app/CAboutDialog.h"

#include "controls/CStaticLink.h"
#include "controls/ResourceArt.h"

#include <wx/button.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

CAboutDialog::CAboutDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, _("About")) {
    auto* top = new wxBoxSizer(wxVERTICAL);

    // The band across the top of the box, in the theme's colour of a page (white in a
    // light theme).
    auto* band =
        new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(-1, ConvertDialogToPixels(wxSize(0, 22)).y));
    band->SetBackgroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW));
    top->Add(band, 0, wxEXPAND);

    auto* box = new wxStaticBoxSizer(wxVERTICAL, this);
    wxStaticBox* frame = box->GetStaticBox();

    auto* upper = new wxBoxSizer(wxHORIZONTAL);
    const wxIcon icon = GetAppIcons().GetIcon(FromDIP(wxSize(32, 32)), wxIconBundle::FALLBACK_NEAREST_LARGER);
    upper->Add(new wxStaticBitmap(frame, wxID_ANY, icon), 0, wxALIGN_CENTER_VERTICAL | wxALL, FromDIP(6));
    auto* lines = new wxBoxSizer(wxVERTICAL);
    lines->Add(new wxStaticText(frame, wxID_ANY, wxString::FromUTF8(kVersionText)), 0, wxBOTTOM, FromDIP(6));
    lines->Add(new wxStaticText(frame, wxID_ANY, wxString::FromUTF8(kNoticeText)));
    upper->Add(lines, 1, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, FromDIP(10));
    box->Add(upper, 0, wxEXPAND | wxTOP, FromDIP(6));

    auto* lower = new wxBoxSizer(wxHORIZONTAL);
    m_pLink = new CStaticLink(frame, kIdLink, wxString::FromUTF8(kWebAddress));
    lower->Add(m_pLink, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, FromDIP(20));
    lower->AddStretchSpacer(1);
    auto* ok = new wxButton(frame, wxID_OK, "OK");
    ok->SetDefault();
    lower->Add(ok, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, FromDIP(24));
    box->Add(lower, 0, wxEXPAND | wxALL, FromDIP(6));

    top->Add(box, 1, wxEXPAND | wxALL, FromDIP(8));
    SetSizerAndFit(top);
    SetEscapeId(wxID_OK);
    ok->SetFocus();

    // The dialog's initialisation gives the link its target.
    m_pLink->SetLink(wxString::FromUTF8(kWebAddress));
    CentreOnParent();
}
