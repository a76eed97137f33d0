#include "remote/CConnectingPopup.h"

#include "controls/CBlockingWork.h"

#include <thread>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

std::atomic<int> CConnectingPopup::s_nVisible{0};

CConnectingPopup::CConnectingPopup(wxWindow* owner)
    : wxDialog(owner, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
               // No caption and no taskbar button: it is a passing notice, not a window to switch to.
               wxBORDER_SIMPLE | wxFRAME_TOOL_WINDOW | wxFRAME_NO_TASKBAR),
      m_pOwner(owner), m_timer(this, IDT_ANIMATION) {
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    m_progress = new wxGauge(this, IDC_PROGRESS, 100, wxDefaultPosition,
                             ConvertDialogToPixels(wxSize(123, 11)), wxGA_HORIZONTAL);
    row->Add(m_progress, 0, wxALIGN_CENTER_VERTICAL);
    row->AddSpacer(ConvertDialogToPixels(wxSize(10, 0)).x);
    row->Add(new wxStaticText(this, wxID_ANY, _("Connecting ...")), 0, wxALIGN_CENTER_VERTICAL);
    row->AddSpacer(ConvertDialogToPixels(wxSize(10, 0)).x);
    // Pressed during the attempt, it is handled by the blocking work, not by a handler here.
    m_pCancel = new wxButton(this, wxID_ANY, _("Cancel"));
    row->Add(m_pCancel, 0, wxALIGN_CENTER_VERTICAL);
    auto* outer = new wxBoxSizer(wxVERTICAL);
    const wxSize margin = ConvertDialogToPixels(wxSize(11, 10));
    outer->Add(row, 0, wxLEFT | wxRIGHT, margin.x);
    outer->InsertSpacer(0, margin.y);
    outer->AddSpacer(margin.y - 1);
    SetSizerAndFit(outer);

    Bind(wxEVT_TIMER, &CConnectingPopup::OnTimer, this, IDT_ANIMATION);
    Bind(wxEVT_CLOSE_WINDOW, &CConnectingPopup::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CConnectingPopup::OnCharHook, this);
    Bind(wxEVT_PAINT, &CConnectingPopup::OnPaint, this);
}

CConnectingPopup::~CConnectingPopup() {
    m_timer.Stop();
    if (m_bShown)
        --s_nVisible;
}

void CConnectingPopup::ShowPopup() {
    if (m_pOwner && !m_pOwner->IsBeingDeleted()) {
        // Centre on the owner in screen coordinates, halving toward zero as integers do.
        const wxRect own = m_pOwner->GetScreenRect();
        const wxRect mine = GetScreenRect();
        Move(own.x + (own.width / 2 - mine.width / 2), own.y + (own.height / 2 - mine.height / 2));
    }
    m_timer.Start(kStepMs);
    m_live = std::make_unique<CBlockingWork::CLiveWindow>(this);
    Show();
    Raise();
    Update();
    m_bShown = true;
    ++s_nVisible;
}

void CConnectingPopup::ClosePopup(Closing when) {
    // The caller's windows stay without input for that second, as during the attempt.
    if (when == Closing::afterAMoment)
        CBlockingWork::Run([] { std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs)); });
    m_timer.Stop();
    m_live.reset();
    Hide();
    if (m_bShown) {
        m_bShown = false;
        --s_nVisible;
    }
    Destroy();
}

void CConnectingPopup::OnTimer(wxTimerEvent&) {
    // 10, 20, ... 90, then 0: the bar never reads full, since nobody knows how far the attempt is.
    m_nStep = (m_nStep + 1) % 10;
    m_progress->SetValue(m_nStep * 10);
}

void CConnectingPopup::OnPaint(wxPaintEvent&) {
    // Window managers draw no border round an undecorated window; the thin frame is ours.
    wxPaintDC dc(this);
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(wxPoint(0, 0), GetClientSize());
}

void CConnectingPopup::OnClose(wxCloseEvent& event) {
    // Only ClosePopup ends the popup; the operator cannot close it under the caller's feet.
    if (event.CanVeto())
        event.Veto();
}

void CConnectingPopup::OnCharHook(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_ESCAPE)
        return;
    event.Skip();
}
