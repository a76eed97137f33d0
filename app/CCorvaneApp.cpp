#include "app/CCorvaneApp.h"

#include "app/CMainFrame.h"
#include "app/StringTable.h"

#include <wx/image.h>

bool CCorvaneApp::OnInit() {
    // No command-line options of our own: wxApp's parser is not run.
    SetVendorName("Halden");
    SetAppName(corvane::kAppTitle);
    wxInitAllImageHandlers();

    std::vector<wxString> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(argv[i]);
    m_pShell = std::make_unique<CCorvaneShell>();
    if (!m_pShell->InitInstance(args)) {
        m_pShell.reset();
        return false;
    }
    SetTopWindow(m_pShell->GetMainFrame());
    return true;
}

int CCorvaneApp::OnExit() {
    m_pShell.reset();
    return wxApp::OnExit();
}
