#include "app/CCorvaneApp.h"
#include "app/StartOptions.h"

#include <iostream>

wxIMPLEMENT_APP_NO_MAIN(CCorvaneApp);

int main(int argc, char** argv) {
    if (const std::optional<int> status = corvane::AnswerWithoutToolkit(argc, argv, std::cout, std::cerr))
        return *status;
    CCorvaneApp::KeepCommandLineBytes(argc, argv);
    wxDISABLE_DEBUG_SUPPORT();
    return wxEntry(argc, argv);
}
