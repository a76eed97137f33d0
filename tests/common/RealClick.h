#pragma once
// A click through the display server, for behaviour that only the toolkit's own
// handling of the pointer shows (where on a control it lands, what GTK leaves out).
#include "EventPump.h"

#include <chrono>
#include <wx/uiaction.h>
#include <wx/window.h>

namespace testpump {

// Left click at `at` (relative to the window's outer top-left corner), then lets the
// toolkit handle it.
inline void RealClick(wxWindow* window, wxPoint at = wxPoint(5, 5)) {
    wxUIActionSimulator sim;
    sim.MouseMove(window->GetScreenPosition() + at);
    sim.MouseClick();
    Pump(std::chrono::milliseconds(150));
}

} // namespace testpump
