#include "controls/CAnimatedProgressCtrl.h"

#include <algorithm>
#include <initializer_list>
#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/settings.h>

namespace {

using corvane::Rgb;

Rgb ToRgb(const wxColour& c) {
    return {c.Red(), c.Green(), c.Blue()};
}
Rgb SystemRgb(wxSystemColour id) {
    return ToRgb(wxSystemSettings::GetColour(id));
}

// Pixel-exact drawing into an RGB buffer with the conventions of the classic
// raster API the bar was designed for: lines leave out their end point, and
// everything outside the buffer is clipped.
class CPixelCanvas {
public:
    explicit CPixelCanvas(wxImage& image) : m_image(image), m_w(image.GetWidth()), m_h(image.GetHeight()) {}

    void Pixel(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < m_w && y < m_h)
            m_image.SetRGB(x, y, c.r, c.g, c.b);
    }
    void Fill(int l, int t, int r, int b, Rgb c) {
        for (int y = std::max(t, 0); y < std::min(b, m_h); ++y)
            for (int x = std::max(l, 0); x < std::min(r, m_w); ++x)
                m_image.SetRGB(x, y, c.r, c.g, c.b);
    }
    // Horizontal, vertical and 45-degree lines are all the bar needs.
    void Line(int x0, int y0, int x1, int y1, Rgb c) {
        const int dx = x1 - x0, dy = y1 - y0;
        const int n = std::max(std::abs(dx), std::abs(dy));
        for (int i = 0; i < n; ++i)
            Pixel(x0 + (dx ? i * dx / n : 0), y0 + (dy ? i * dy / n : 0), c);
    }
    void Polyline(std::initializer_list<wxPoint> pts, Rgb c) {
        const wxPoint* prev = nullptr;
        for (const wxPoint& p : pts) {
            if (prev)
                Line(prev->x, prev->y, p.x, p.y, c);
            prev = &p;
        }
    }

private:
    wxImage& m_image;
    int m_w, m_h;
};

} // namespace

CAnimatedProgressCtrl::CAnimatedProgressCtrl() {
    Init();
}

CAnimatedProgressCtrl::CAnimatedProgressCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos,
                                             const wxSize& size, long style) {
    Init();
    Create(parent, id, pos, size, style);
}

CAnimatedProgressCtrl::~CAnimatedProgressCtrl() {
    m_timer.Stop();
}

void CAnimatedProgressCtrl::Init() {
    m_palette =
        corvane::MakeProgressPalette(SystemRgb(wxSYS_COLOUR_HIGHLIGHT), SystemRgb(wxSYS_COLOUR_BTNSHADOW),
                                     SystemRgb(wxSYS_COLOUR_3DDKSHADOW));
    m_timer.SetOwner(this, kTimerId);
}

bool CAnimatedProgressCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size,
                                   long style) {
    if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE))
        return false;
    // Every pixel is painted from the off-screen image, so erasing would only flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CAnimatedProgressCtrl::OnPaint, this);
    Bind(wxEVT_TIMER, &CAnimatedProgressCtrl::OnTimer, this, kTimerId);
    SetInitialSize(size);
    return true;
}

void CAnimatedProgressCtrl::SetRange(int lower, int upper) {
    m_nLower = lower;
    m_nUpper = upper;
    m_nPos = std::clamp(m_nPos, std::min(lower, upper), std::max(lower, upper));
    Refresh();
}

int CAnimatedProgressCtrl::SetPos(int pos) {
    const int old = m_nPos;
    m_nPos = std::clamp(pos, std::min(m_nLower, m_nUpper), std::max(m_nLower, m_nUpper));
    if (m_nPos != old)
        Refresh();
    return old;
}

void CAnimatedProgressCtrl::SetBarColor(const wxColour& colour) {
    // The shadows are read again here, as when the control was made.
    m_palette = corvane::MakeProgressPalette(ToRgb(colour), SystemRgb(wxSYS_COLOUR_BTNSHADOW),
                                             SystemRgb(wxSYS_COLOUR_3DDKSHADOW));
    RedrawNow();
}

void CAnimatedProgressCtrl::SetAnimation(bool animate) {
    m_bAnimating = animate;
    if (animate) {
        m_nOffset = 0;
        RedrawNow();
        m_timer.StartOnce(kTickMs);
    } else {
        m_timer.Stop();
        RedrawNow();
    }
}

void CAnimatedProgressCtrl::RedrawNow() {
    if (!GetHandle())
        return;
    Refresh();
    Update();
}

void CAnimatedProgressCtrl::OnTimer(wxTimerEvent&) {
    // Re-armed only after the redraw, so slow paints never queue up ticks.
    m_timer.Stop();
    m_nOffset = m_nOffset >= 19 ? 0 : m_nOffset + 1;
    RedrawNow();
    if (m_bAnimating)
        m_timer.StartOnce(kTickMs);
}

void CAnimatedProgressCtrl::OnPaint(wxPaintEvent&) {
    wxPaintDC dc(this);
    Render(dc, wxRect(wxPoint(0, 0), GetClientSize()));
}

wxSize CAnimatedProgressCtrl::DoGetBestClientSize() const {
    return FromDIP(wxSize(150, 18));
}

void CAnimatedProgressCtrl::Render(wxDC& dc, const wxRect& rect) const {
    if (rect.width <= 0 || rect.height <= 0)
        return;
    const auto& p = m_palette;
    const Rgb face = SystemRgb(wxSYS_COLOUR_BTNFACE);
    wxImage image(rect.width, rect.height, false);
    CPixelCanvas c(image);
    const int L = 0, T = 0, B = rect.height;
    int R = rect.width;

    c.Fill(L, T, R, B, face);
    if (!m_bAnimating) {
        const double span = static_cast<double>(m_nUpper) - m_nLower;
        R = span == 0 ? L : L + static_cast<int>((static_cast<double>(m_nPos) - m_nLower) * (R - L) / span);
    }
    c.Fill(L, T, R, B, p.l3);
    if (R > L) {
        if (m_bAnimating) {
            const int h = B - T + 1;
            const int groups = (R - L) / 20 + 2;
            // Column 5 of each period keeps the lightest fill between the two halves.
            static constexpr int kColumns[] = {0, 1, 2, 3, 4, 6, 7, 8, 9};
            const Rgb colours[] = {p.d2, p.d1, p.base, p.l1, p.l2, p.l2, p.l1, p.base, p.d1};
            for (int g = 0; g < groups; ++g) {
                const int x = m_nOffset + L - 20 + h + g * 20;
                for (int i = 0; i < 9; ++i) {
                    const int k = kColumns[i];
                    c.Line(x + k + 1 - h, T, x + k, B, colours[i]);
                }
            }
        } else {
            c.Polyline({{L + 2, B - 4}, {R - 2, B - 4}}, p.l1);
            c.Polyline({{L + 2, T + 2}, {R - 2, T + 2}}, p.l1);
            c.Pixel(L + 1, B - 3, p.l1);
            c.Pixel(L + 1, T + 1, p.l1);

            c.Polyline({{L + 2, B - 5}, {R - 3, B - 5}, {R - 3, T + 3}, {L + 1, T + 3}}, p.l2);
            c.Pixel(L + 1, B - 4, p.l2);
            c.Pixel(L + 1, T + 2, p.l2);

            c.Polyline({{L, B - 1}, {L, T}, {L + 2, T}}, p.base);
            c.Pixel(L + 1, B - 2, p.base);
            c.Polyline({{L + 2, B - 3}, {R - 2, B - 3}}, p.base);
            c.Polyline({{L + 2, T + 1}, {R - 1, T + 1}}, p.base);

            c.Polyline({{L + 2, B - 2}, {R - 2, B - 2}, {R - 2, T + 1}}, p.d1);
            c.Polyline({{L + 2, T}, {R, T}}, p.d1);
            c.Pixel(L + 1, B - 1, p.d1);

            c.Polyline({{L + 2, B - 1}, {R - 1, B - 1}, {R - 1, T}}, p.d2);
            c.Polyline({{R, T}, {R, B}}, p.midShadow);
            c.Polyline({{R + 1, T}, {R + 1, B}}, p.shadow);
        }
    }
    dc.DrawBitmap(wxBitmap(image), rect.GetTopLeft());
}
