#pragma once
// Shared by the GUI benchmarks: a wx application without a main loop of its own,
// private settings and desktop folders, and a way to run the loop until idle.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>
#include <wx/log.h>

namespace guibench {

// The loop runs until the application first has nothing left to do.
inline void RunUntilIdle() {
    wxGUIEventLoop loop;
    bool idle = false;
    auto onIdle = [&](wxIdleEvent& event) {
        if (!idle) {
            idle = true;
            loop.ScheduleExit();
        }
        event.Skip();
    };
    wxTheApp->Bind(wxEVT_IDLE, onIdle);
    loop.Run();
    wxTheApp->Unbind(wxEVT_IDLE, onIdle);
}

inline std::string MakeTempHome() {
    char name[] = "/tmp/corvane-bench-XXXXXX";
    const std::string dir = ::mkdtemp(name);
    ::setenv("HOME", dir.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir + "/data").c_str(), 1);
    // The program keeps to one window per session through this folder.
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    return dir;
}

class CBenchApp : public wxApp {
public:
    bool OnInit() override { return true; }
};

inline int RunBenchmarks(int argc, char** argv) {
    const std::string home = MakeTempHome();
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new CBenchApp);
    wxEntryStart(argc, argv);
    if (!wxTheApp->CallOnInit())
        return 2;
    delete wxLog::SetActiveTarget(new wxLogStderr);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    wxTheApp->OnExit();
    wxEntryCleanup();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}

} // namespace guibench
