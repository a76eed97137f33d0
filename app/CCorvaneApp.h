#pragma once
// The application object. Start-up and the file commands live in CCorvaneShell so
// that they can run without a message loop; this class hands them argv, and keeps
// the program to one window per user session (CInstanceChannel).
#include "app/CCorvaneShell.h"
#include "app/CInstanceChannel.h"

#include <memory>
#include <string>
#include <wx/app.h>

class CCorvaneApp : public wxApp {
public:
    CCorvaneApp();

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

    CCorvaneShell* GetShell() const { return m_pShell.get(); }

private:
    // Read before the toolkit starts, which takes it out of the environment.
    std::string m_strStartupId;
    std::unique_ptr<CInstanceChannel> m_pChannel;
    std::unique_ptr<CCorvaneShell> m_pShell;
    // The command line went to the program already running: nothing to run here.
    bool m_bHandedOff = false;
};
