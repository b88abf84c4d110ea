#include "scenefile/file_versions.h"

#include <algorithm>

#include "scene/scene_limits.h"

namespace morvanex {

std::optional<std::size_t> versionRung(std::string_view version) {
    const auto it = std::find(kFileVersions.begin(), kFileVersions.end(), version);
    if (it == kFileVersions.end()) return std::nullopt;
    return static_cast<std::size_t>(it - kFileVersions.begin());
}

FileVersion FileVersion::fromTag(std::string_view tag) {
    FileVersion v;
    if (tag.substr(0, kFileTagPrefix.size()) == kFileTagPrefix) v.rung_ = versionRung(tag.substr(kFileTagPrefix.size()));
    return v;
}

FileVersion FileVersion::newest() {
    FileVersion v;
    v.rung_ = kFileVersions.size() - 1;
    return v;
}

bool isOldFamilyTag(std::string_view tag) {
    return std::find(kOldFamilyTags.begin(), kOldFamilyTags.end(), tag) != kOldFamilyTags.end();
}

}  // namespace morvanex
