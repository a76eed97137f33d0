#include "app/CCorvaneApp.h"

#include "app/CMainFrame.h"
#include "app/StringTable.h"
#include "app/Translation.h"
#include "controls/ToolkitSymbol.h"
#include "controls/WxText.h"

#include <cstdlib>
#include <wx/image.h>
#include <wx/stdpaths.h>

CCorvaneApp::CCorvaneApp() {
    for (const char* name : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        if (const char* id = std::getenv(name); id && *id) {
            m_strStartupId = id;
            break;
        }
    }
}

std::vector<std::string>& CCorvaneApp::CommandLineBytes() {
    static std::vector<std::string> bytes;
    return bytes;
}

void CCorvaneApp::KeepCommandLineBytes(int argc, char** argv) {
    CommandLineBytes().assign(argv, argv + argc);
}

bool CCorvaneApp::OnInit() {
    // The toolkit reads the system's fonts on a thread of its own once its font map
    // exists. Made now, that reading overlaps the rest of the start-up instead of
    // holding up the first text the window measures.
    if (const auto fontMap = corvane::ToolkitSymbol<void* (*)()>("pango_cairo_font_map_get_default"))
        fontMap();
    corvane::UseEnvironmentLanguage(wxStandardPaths::Get().GetExecutablePath().utf8_string());
    // Our few options are answered before the toolkit starts (app/StartOptions):
    // wxApp's parser is not run.
    SetVendorName("Halden");
    SetAppName(corvane::kAppTitle);

    // File names are bytes: read as the program reads every path (wxConvFileName, UTF-8
    // unless the environment says otherwise), they come back unchanged.
    const std::vector<std::string>& bytes = CommandLineBytes();
    std::vector<wxString> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(bytes.size() == static_cast<std::size_t>(argc) ? PathToWx(bytes[i]) : argv[i]);

    m_pChannel = std::make_unique<CInstanceChannel>();
    if (m_pChannel->HandOff({PathFromWx(CCorvaneShell::ProjectArgument(args)), m_strStartupId})) {
        m_bHandedOff = true;
        return true;
    }

    wxInitAllImageHandlers();
    m_pShell = std::make_unique<CCorvaneShell>();
    if (!m_pShell->InitInstance(args)) {
        m_pShell.reset();
        return false;
    }
    SetTopWindow(m_pShell->GetMainFrame());
    m_pChannel->Listen([shell = m_pShell.get()](const CInstanceChannel::Request& request) {
        shell->OnOtherStart(PathToWx(request.file), request.startupId);
    });
    return true;
}

int CCorvaneApp::OnRun() {
    return m_bHandedOff ? 0 : wxApp::OnRun();
}

int CCorvaneApp::OnExit() {
    m_pChannel.reset();
    m_pShell.reset();
    return wxApp::OnExit();
}
