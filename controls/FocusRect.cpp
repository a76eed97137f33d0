#include "controls/FocusRect.h"

#include <wx/brush.h>
#include <wx/pen.h>

void DrawFocusDots(wxDC& dc, const wxRect& rect, const wxColour& colour) {
    if (rect.width <= 0 || rect.height <= 0)
        return;
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(colour));
    const int l = rect.GetLeft(), t = rect.GetTop(), r = rect.GetRight(), b = rect.GetBottom();
    // One phase round the whole outline, so the corners join like the classic frame.
    auto dot = [&](int x, int y) {
        if ((x - l + y - t) % 2 == 0)
            dc.DrawRectangle(x, y, 1, 1);
    };
    for (int x = l; x <= r; ++x) {
        dot(x, t);
        dot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        dot(l, y);
        dot(r, y);
    }
}
