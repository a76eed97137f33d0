#pragma once
// FileZilla's site manager file (sitemanager.xml): <FileZilla3><Servers> holding
// <Server> entries, possibly grouped in nested <Folder> elements.
#include "SiteList.h"

#include <string_view>
#include <vector>

namespace corvane {

// Every <Server> in document order. Throws SiteListError when the XML is not well formed
// or is not a site manager file.
std::vector<SiteEntry> ReadFileZillaSites(std::string_view xml);

} // namespace corvane
