#pragma once
// Files compiled into the program: the SVG artwork and the desktop-integration
// files. Looked up by their file name in resources/ ("corvane.desktop").
#include <cstddef>
#include <span>
#include <string_view>

namespace corvane {

struct EmbeddedResource {
    const char* name;          // file name, no directory
    const unsigned char* data; // followed by a zero byte that size does not count
    std::size_t size;
};

// Every embedded file, sorted by name.
std::span<const EmbeddedResource> EmbeddedResources();

// nullptr when no file of that name is embedded.
const EmbeddedResource* FindEmbeddedResource(std::string_view name);

} // namespace corvane
