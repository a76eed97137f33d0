#include "controls/CStaticLink.h"

#include "controls/FocusRect.h"

#include <algorithm>
#include <cmath>
#include <wx/dcbuffer.h>
#include <wx/utils.h>

const wxColour CStaticLink::kUnvisited(0, 0, 255);
const wxColour CStaticLink::kVisited(128, 0, 128);

namespace {
// The one-pixel frame the focus rectangle needs around the text.
constexpr int kFocusMargin = 2;

bool HasScheme(const wxString& target) {
    // "http://...", "mailto:...", "file:..." go to the browser hand-off; plain
    // paths and host names are opened as documents or web addresses below.
    const int colon = target.Find(':');
    if (colon <= 1)
        return false;
    for (int i = 0; i < colon; ++i) {
        const wxUniChar c = target[i];
        if (!(wxIsalnum(c) || c == '+' || c == '-' || c == '.'))
            return false;
    }
    return true;
}
} // namespace

CStaticLink::CStaticLink(wxWindow* parent, wxWindowID id, const wxString& label, const wxString& link,
                         const wxPoint& pos, const wxSize& size, long style) {
    Create(parent, id, label, link, pos, size, style);
}

bool CStaticLink::Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxString& link,
                         const wxPoint& pos, const wxSize& size, long style) {
    if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE))
        return false;
    m_strLink = link;
    wxControl::SetLabel(label);
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCursor(wxCursor(wxCURSOR_HAND));
    Bind(wxEVT_PAINT, &CStaticLink::OnPaint, this);
    Bind(wxEVT_LEFT_UP, &CStaticLink::OnLeftUp, this);
    Bind(wxEVT_CHAR, &CStaticLink::OnChar, this);
    Bind(wxEVT_SET_FOCUS, &CStaticLink::OnFocus, this);
    Bind(wxEVT_KILL_FOCUS, &CStaticLink::OnFocus, this);
    SetInitialSize(size);
    return true;
}

void CStaticLink::SetLabel(const wxString& label) {
    wxControl::SetLabel(label);
    InvalidateBestSize();
    Refresh();
}

wxFont CStaticLink::LinkFont() const {
    return GetFont().Underlined();
}

wxSize CStaticLink::DoGetBestClientSize() const {
    wxClientDC dc(const_cast<CStaticLink*>(this));
    dc.SetFont(LinkFont());
    const wxSize text = dc.GetMultiLineTextExtent(GetLabelText());
    return {text.x + 2 * kFocusMargin, text.y + 2 * kFocusMargin};
}

bool CStaticLink::Launch(const wxString& target) {
    if (HasScheme(target))
        return wxLaunchDefaultBrowser(target);
    if (wxFileExists(target) || wxDirExists(target))
        return wxLaunchDefaultApplication(target);
    // A bare address such as "www.example.com" is meant for the browser.
    return wxLaunchDefaultBrowser(target);
}

void CStaticLink::Beep() {
    wxBell();
}

bool CStaticLink::OpenLink() {
    // The link first, then the text shown.
    for (const wxString& target : {m_strLink, GetLabelText()}) {
        if (!target.empty() && Launch(target)) {
            m_colour = kVisited;
            Refresh();
            return true;
        }
    }
    Beep();
    return false;
}

wxColour CStaticLink::ReadableOn(const wxColour& link, const wxColour& background) {
    // Relative luminance and contrast as the web's accessibility guidelines define them.
    const auto luminance = [](const wxColour& c) {
        const auto channel = [](unsigned char v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.Red()) + 0.7152 * channel(c.Green()) + 0.0722 * channel(c.Blue());
    };
    const double back = luminance(background);
    const auto contrast = [&](const wxColour& c) {
        const double l = luminance(c);
        return (std::max(l, back) + 0.05) / (std::min(l, back) + 0.05);
    };
    constexpr double kReadable = 4.5;
    // Lightening helps only against a dark background (below mid-grey).
    constexpr double kMidGrey = 0.18;
    if (contrast(link) >= kReadable || back >= kMidGrey)
        return link;
    // Lighter and lighter, never to white: the colour still says "link" and "visited".
    wxColour drawn = link;
    for (int lightness = 110; lightness <= 180 && contrast(drawn) < kReadable; lightness += 10)
        drawn = link.ChangeLightness(lightness);
    return drawn;
}

void CStaticLink::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxWindow* parent = GetParent();
    dc.SetBackground(wxBrush(parent ? parent->GetBackgroundColour() : GetBackgroundColour()));
    dc.Clear();
    dc.SetFont(LinkFont());
    dc.SetTextForeground(ReadableOn(m_colour, dc.GetBackground().GetColour()));
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    const wxString text = GetLabelText();
    const wxSize extent = dc.GetMultiLineTextExtent(text);
    dc.DrawText(text, kFocusMargin, kFocusMargin);
    if (HasFocus())
        DrawFocusDots(dc, wxRect(kFocusMargin - 1, kFocusMargin - 1, extent.x + 2, extent.y + 2),
                      GetForegroundColour());
}

void CStaticLink::OnLeftUp(wxMouseEvent& event) {
    OpenLink();
    event.Skip();
}

void CStaticLink::OnChar(wxKeyEvent& event) {
    if (event.GetKeyCode() == WXK_SPACE)
        OpenLink();
    else
        event.Skip();
}

void CStaticLink::OnFocus(wxFocusEvent& event) {
    Refresh();
    event.Skip();
}
