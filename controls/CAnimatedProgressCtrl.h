#pragma once
// A progress bar drawn by the program: a shaded bar in a chosen colour that
// shows the position, or, while animated, full-width diagonal stripes moving one
// pixel to the right every 25 ms.
#include <wx/control.h>
#include <wx/timer.h>

#include "controls/ProgressColours.h"

class CAnimatedProgressCtrl : public wxControl {
public:
    CAnimatedProgressCtrl();
    CAnimatedProgressCtrl(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                          const wxSize& size = wxDefaultSize, long style = 0);
    ~CAnimatedProgressCtrl() override;
    bool Create(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = 0);

    // Range and position as a native progress bar keeps them (0..100 and 0 at
    // first); the position is held inside the range. SetPos returns the old one.
    void SetRange(int lower, int upper);
    int SetPos(int pos);
    int GetPos() const { return m_nPos; }

    // New base colour; the lighter and darker shades follow it. Redraws at once.
    void SetBarColor(const wxColour& colour);
    // Starts (from the first stripe position) or stops the stripes. Redraws at once.
    void SetAnimation(bool animate);
    bool IsAnimating() const { return m_bAnimating; }
    // 0..19: how far the stripes have moved.
    int GetAnimationOffset() const { return m_nOffset; }

    // Draws the whole control as it looks now into rect of dc, in one transfer.
    void Render(wxDC& dc, const wxRect& rect) const;

    bool AcceptsFocus() const override { return false; }

protected:
    wxSize DoGetBestClientSize() const override;

private:
    void Init();
    void RedrawNow();
    void OnPaint(wxPaintEvent& event);
    void OnTimer(wxTimerEvent& event);

    static constexpr int kTimerId = 100;
    static constexpr int kTickMs = 25;

    int m_nOffset = 0;
    bool m_bAnimating = false;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
    corvane::ProgressPalette m_palette;
    wxTimer m_timer;
};
