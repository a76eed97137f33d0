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

namespace {

// The program's texts are written in English, so a person who reads English first
// needs no catalogue. Looking for one walks every language folder of the system,
// a noticeable part of the start-up.
bool ReadsEnglishFirst() {
    const wxVector<wxString> preferred = wxUILocale::GetPreferredUILanguages();
    if (preferred.empty())
        return true;
    const wxString& first = preferred.front();
    return first == "en" || first.StartsWith("en_") || first == "C" || first == "POSIX";
}

} // namespace

void UseEnvironmentLanguage(const std::string& exePath) {
    // wx keeps GTK from setting the C library's locale at its start; without this
    // GTK's own texts stay English whatever the environment asks for.
    wxUILocale::UseDefault();
    // Numbers are written and read in one format: the service and the settings
    // file read them, not a person.
    std::setlocale(LC_NUMERIC, "C");
    if (ReadsEnglishFirst())
        return;

    for (const std::string& folder : CatalogueFolders(exePath))
        wxFileTranslationsLoader::AddCatalogLookupPathPrefix(folder);
    auto* translations = new wxTranslations;
    wxTranslations::Set(translations);
    translations->SetLanguage(wxLANGUAGE_DEFAULT);
    translations->AddStdCatalog();
    translations->AddCatalog("corvane");
}

} // namespace corvane
