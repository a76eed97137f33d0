#pragma once
// The application object. Start-up and the file commands live in CCorvaneShell so
// that they can run without a message loop; this class only hands them argv.
#include "app/CCorvaneShell.h"

#include <memory>
#include <wx/app.h>

class CCorvaneApp : public wxApp {
public:
    bool OnInit() override;
    int OnExit() override;

    CCorvaneShell* GetShell() const { return m_pShell.get(); }

private:
    std::unique_ptr<CCorvaneShell> m_pShell;
};
