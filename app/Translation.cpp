#include "app/Translation.h"

#include <clocale>
#include <filesystem>
#include <wx/translation.h>
#include <wx/uilocale.h>

namespace corvane {

std::vector<std::string> CatalogueFolders(const std::string& exePath) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::vector<std::string> folders;
    const fs::path dir = fs::path(exePath).parent_path();
    if (const fs::path installed = dir.parent_path() / "share/locale"; fs::is_directory(installed, ec))
        folders.push_back(installed.string());
    for (fs::path up = dir; !up.empty(); up = up.parent_path()) {
        if (fs::exists(up / "CMakeCache.txt", ec)) {
            folders.push_back((up / "locale").string());
            break;
        }
        if (up == up.root_path())
            break;
    }
    return folders;
}

void UseEnvironmentLanguage(const std::string& exePath) {
    // wx keeps GTK from setting the C library's locale at its start; without this
    // GTK's own texts stay English whatever the environment asks for.
    wxUILocale::UseDefault();
    // Numbers are written and read in one format: the service and the settings
    // file read them, not a person.
    std::setlocale(LC_NUMERIC, "C");

    for (const std::string& folder : CatalogueFolders(exePath))
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder);
    auto* translations = new wxTranslations;
    wxTranslations::Set(translations);
    translations->SetLanguage(wxLANGUAGE_DEFAULT);
    translations->AddStdCatalog();
    translations->AddCatalog("corvane");
}

} // namespace corvane
