#include "app/CCorvaneApp.h"

wxIMPLEMENT_APP_NO_MAIN(CCorvaneApp);

int main(int argc, char** argv) {
    CCorvaneApp::KeepCommandLineBytes(argc, argv);
    wxDISABLE_DEBUG_SUPPORT();
    return wxEntry(argc, argv);
}
