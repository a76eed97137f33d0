#pragma once
// The one way a GUI test lets the toolkit run between two steps: pending and idle
// events, timers and the display's input, with no loop running and inside a modal
// one alike.
#include <chrono>
#include <functional>
#include <optional>
#include <wx/app.h>
#include <wx/evtloop.h>

namespace testpump {

// Runs the toolkit until `done` holds or `limit` has passed; returns done().
inline bool PumpUntil(const std::function<bool()>& done,
                      std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    wxGUIEventLoop loop;
    // A loop made active here would swallow the end of a modal dialog closed meanwhile
    // (EndModal only ends the active loop), leaving the run waiting on a hidden dialog;
    // so it is made active only when no other one runs.
    std::optional<wxEventLoopActivator> activate;
    if (!wxEventLoopBase::GetActive())
        activate.emplace(&loop);
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
