#pragma once
// The one way a GUI test lets the toolkit run between two steps: pending and idle
// events, timers and the display's input, in a loop of its own so that it works
// with no loop running and inside a modal one alike.
#include <chrono>
#include <functional>
#include <wx/app.h>
#include <wx/evtloop.h>

namespace testpump {

// Runs the toolkit until `done` holds or `limit` has passed; returns done().
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    wxGUIEventLoop loop;
    wxEventLoopActivator activate(&loop);
    for (;;) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        if (done() || std::chrono::steady_clock::now() >= until)
            return done();
        loop.DispatchTimeout(10);
    }
}

// Runs the toolkit for about `duration` (at least one round).
inline void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(200)) {
    PumpUntil([] { return false; }, duration);
}

} // namespace testpump
