#pragma once
// WinSCP's settings file (WinSCP.ini): one [Sessions\Name] section per stored site.
#include "SiteList.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// An INI file with at least one section of WinSCP's own.
bool LooksLikeWinScpIni(std::string_view text);

// Every stored session but the defaults, in file order. Throws SiteListError for a
// line that is neither a section, a comment nor key=value.
std::vector<SiteEntry> ReadWinScpSites(std::string_view ini);

// Reverses the obfuscation of a stored session password (hexadecimal text); `key` is
// the user name followed by the host name. Empty when the text is damaged or was made
// for another key.
std::optional<std::string> DecodeWinScpPassword(std::string_view hex, std::string_view key);

} // namespace corvane
