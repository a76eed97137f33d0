#pragma once
// A click through the display server, for behaviour that only the toolkit's own
// handling of the pointer shows (where on a control it lands, what GTK leaves out).
#include "EventPump.h"

#include <chrono>
#include <wx/uiaction.h>
#include <wx/window.h>

namespace testpump {

// Puts the pointer at `at` (relative to the window's outer top-left corner) and lets
// the toolkit notice; with no window manager the keyboard follows the pointer.
inline void PointAt(wxWindow* window, wxPoint at = wxPoint(5, 5)) {
    wxUIActionSimulator().MouseMove(window->GetScreenPosition() + at);
    Pump();
}

// The middle of `rect`, given in the window's client coordinates, as PointAt takes it.
inline wxPoint MiddleOf(wxWindow* window, const wxRect& rect) {
    return window->ClientToScreen(rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2)) -
           window->GetScreenPosition();
}

// Left click at `at` (as for PointAt), then lets the toolkit handle it.
inline void RealClick(wxWindow* window, wxPoint at = wxPoint(5, 5)) {
    wxUIActionSimulator sim;
    sim.MouseMove(window->GetScreenPosition() + at);
    sim.MouseClick();
    Pump(std::chrono::milliseconds(150));
}

} // namespace testpump
