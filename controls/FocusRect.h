#pragma once
// The dotted keyboard-focus frame of the classic desktop look. Drawn by hand:
// the theme's focus ring may be hidden until the keyboard is used, and the
// inverting pen of the generic renderer does nothing on a cairo-backed DC.
#include <wx/dc.h>

// Every other pixel of the rectangle's outline, in the given colour.
void DrawFocusDots(wxDC& dc, const wxRect& rect, const wxColour& colour);
