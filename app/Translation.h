#pragma once
// The window speaks the language the environment asks for (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG), from the catalogues in po/; the English texts are the source.
#include <string>
#include <vector>

namespace corvane {

// Takes the locale from the environment, so that GTK's own dialogs (the file chooser)
// follow it too, and loads the program's catalogue and the toolkit's unless English
// comes first (the texts are written in English). Numbers keep
// the C format whatever the language. Call it once the toolkit has started.
void UseEnvironmentLanguage(const std::string& exePath);

// Where the catalogues of a program at `exePath` are looked for: PREFIX/share/locale
// when it is installed as PREFIX/bin/..., and locale/ of the build tree (the nearest
// folder above it holding CMakeCache.txt) when it runs from one.
std::vector<std::string> CatalogueFolders(const std::string& exePath);

} // namespace corvane
