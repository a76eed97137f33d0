#include "dialogs/CDlgService.h"

#include "controls/ResourceArt.h"
#include "model/CCorvaneDoc.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinbutt.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

CDlgService::CDlgService(wxWindow* parent, CCorvaneDoc* pDoc)
    : CDialogBase(parent, _("Interval configuration")), m_pDoc(pDoc) {
    BuildControls();
    // The stored value, even outside the range, is what the field shows at first;
    // the slider and the arrows hold the nearest value they can.
    const std::int32_t stored = m_pDoc->m_nInterval;
    const int clamped = std::clamp<std::int32_t>(stored, kMin, kMax);
    m_pSlider->SetTickFreq(1);
    m_pSlider->SetValue(clamped);
    m_pMinutes->ChangeValue(FormatNumber(stored));
    // GTK's arrows go silent at the ends of their range, so theirs reaches one step
    // beyond ours: a click there still arrives and is clamped back, as the field's
    // value (possibly outside the range) is.
    m_pUpDown->SetRange(kMin - 1, kMax + 1);
    m_pUpDown->SetValue(clamped);
    ShowSliderTip();

    EnableOkOnChange({m_pSlider});
    m_pSlider->Bind(wxEVT_SLIDER, &CDlgService::OnSlider, this);
    m_pUpDown->Bind(wxEVT_SPIN_UP, &CDlgService::OnSpin, this);
    m_pUpDown->Bind(wxEVT_SPIN_DOWN, &CDlgService::OnSpin, this);
    m_pMinutes->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& ev) {
        if (ev.GetKeyCode() == WXK_UP)
            Step(1);
        else if (ev.GetKeyCode() == WXK_DOWN)
            Step(-1);
        else
            ev.Skip();
    });
    Bind(wxEVT_BUTTON, &CDlgService::OnOK, this, wxID_OK);
}

void CDlgService::BuildControls() {
    const int gap = FromDIP(7);
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* group = new wxStaticBoxSizer(wxVERTICAL, this, _("Execution interval, minutes"));
    wxWindow* box = group->GetStaticBox();

    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_pMinutes = new wxTextCtrl(box, kIdMinutes, wxString(), wxDefaultPosition,
                                wxSize(ConvertDialogToPixels(wxSize(47, -1)).x, -1), wxTE_READONLY);
    row->Add(m_pMinutes, 0, wxALIGN_CENTER_VERTICAL);
    m_pUpDown =
        new wxSpinButton(box, kIdUpDown, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL | wxSP_ARROW_KEYS);
    row->Add(m_pUpDown, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, FromDIP(3));
    row->AddStretchSpacer();
    auto* gears = new wxStaticBitmap(box, wxID_ANY, GetResourceBitmap(IDB_GEARS), wxDefaultPosition,
                                     wxDefaultSize, wxBORDER_SUNKEN);
    row->Add(gears, 0, wxALIGN_CENTER_VERTICAL);
    group->Add(row, 0, wxEXPAND | wxALL, gap);

    m_pSlider = new wxSlider(box, kIdSlider, kMin, kMin, kMax, wxDefaultPosition,
                             wxSize(ConvertDialogToPixels(wxSize(196, -1)).x, -1),
                             wxSL_HORIZONTAL | wxSL_AUTOTICKS | wxSL_BOTH);
    group->Add(m_pSlider, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);

    top->Add(group, 1, wxEXPAND | wxALL, gap);
    top->Add(CreateButtonRow(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizerAndFit(top);
}

void CDlgService::ShowSliderTip() {
    m_pSlider->SetToolTip(FormatNumber(m_pSlider->GetValue()));
}

void CDlgService::OnSlider(wxCommandEvent& event) {
    m_pMinutes->ChangeValue(FormatNumber(m_pSlider->GetValue()));
    m_pUpDown->SetValue(m_pSlider->GetValue());
    ShowSliderTip();
    event.Skip();
}

void CDlgService::OnSpin(wxSpinEvent& event) {
    Step(event.GetEventType() == wxEVT_SPIN_UP ? 1 : -1);
    event.Skip();
}

void CDlgService::Step(int delta) {
    m_pSlider->SetValue(std::clamp(m_pSlider->GetValue() + delta, kMin, kMax));
    ShowSliderTip();
    MarkChanged();
    // The arrows count from what the field shows, brought into their range.
    const int from = std::clamp<std::int32_t>(ReadLeadingNumber(m_pMinutes->GetValue()), kMin, kMax);
    const int to = std::clamp(from + delta, kMin, kMax);
    m_pMinutes->ChangeValue(FormatNumber(to));
    // Moving the arrows from inside their own change handler leaves wxGTK's record of
    // their position behind the widget's, and the arrows then run on by themselves;
    // they are brought back in step once the click has been handled.
    CallAfter([this] { m_pUpDown->SetValue(m_pSlider->GetValue()); });
}

void CDlgService::OnOK(wxCommandEvent&) {
    m_pDoc->m_bIntervalConfirmed = true;
    m_pDoc->m_nInterval = m_pSlider->GetValue();
    EndModal(wxID_OK);
}
