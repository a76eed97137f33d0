#include "resources/EmbeddedResources.h"

#include <algorithm>

namespace corvane {

// Defined in the source generated from the files of resources/.
extern const EmbeddedResource kEmbeddedResources[];
extern const std::size_t kEmbeddedResourceCount;

std::span<const EmbeddedResource> EmbeddedResources() {
    return {kEmbeddedResources, kEmbeddedResourceCount};
}

const EmbeddedResource* FindEmbeddedResource(std::string_view name) {
    const auto all = EmbeddedResources();
    const auto it =
        std::lower_bound(all.begin(), all.end(), name,
                         [](const EmbeddedResource& r, std::string_view n) { return r.name < n; });
    if (it == all.end() || it->name != name)
        return nullptr;
    return &*it;
}

} // namespace corvane
