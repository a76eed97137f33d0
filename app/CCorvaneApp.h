#pragma once
// The application object. Start-up and the file commands live in CCorvaneShell so
// that they can run without a message loop; this class hands them argv, and keeps
// the program to one window per user session (CInstanceChannel).
#include "app/CCorvaneShell.h"
#include "app/CInstanceChannel.h"

#include <memory>
#include <string>
#include <vector>
#include <wx/app.h>

class CCorvaneApp : public wxApp {
public:
    CCorvaneApp();

    // The command line as the system gave it, before wx reads it through the locale's
    // encoding: under the C locale that turns a UTF-8 file name into other characters,
    // and the file is then not found. File names are taken from these bytes instead.
    static void KeepCommandLineBytes(int argc, char** argv);

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;
    // The window's texts are English or German, both written left to right: the
    // layout follows them, not the locale. Asking the locale would also build the
    // toolkit's table of every language at start-up.
    wxLayoutDirection GetLayoutDirection() const override { return wxLayout_LeftToRight; }

private:
    static std::vector<std::string>& CommandLineBytes();

    // Read before the toolkit starts, which takes it out of the environment.
    std::string m_strStartupId;
    std::unique_ptr<CInstanceChannel> m_pChannel;
    std::unique_ptr<CCorvaneShell> m_pShell;
    // The command line went to the program already running: nothing to run here.
    bool m_bHandedOff = false;
};
