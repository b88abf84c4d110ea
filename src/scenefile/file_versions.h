// The version tags of scene files and the ladder they form.
//
// Tags are compared as whole strings, never parsed as numbers: "1.10" comes
// after "1.9" and "1.15a" sits between "1.15" and "1.16" because the ladder
// says so.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace morvanex {

inline constexpr std::array<std::string_view, 36> kFileVersions = {
    "0.1",  "0.2",  "0.3",  "0.4",  "0.5",  "0.6",   "0.7",    "0.8",    "0.9",
    "0.95", "1.0",  "1.1",  "1.2",  "1.3",  "1.4",   "1.5",    "1.6",    "1.7",
    "1.8",  "1.9",  "1.10", "1.11", "1.12", "1.13",  "1.14",   "1.15",   "1.15a",
    "1.16", "1.16.1", "1.16.2", "1.16.3", "1.16.4", "1.16.5", "1.16.6", "1.16.7", "1.16.8",
};

// Tags of the older family, recognised but laid out differently.
inline constexpr std::array<std::string_view, 4> kOldFamilyTags = {
    "Morvanexv3 0.6", "Morvanexv3 0.8", "Morvanexv3 0.9", "Morvanexv3 1.0"};
inline constexpr std::string_view kOldFamilyAnimationOnlyTag = "Morvanexv3 1.0";

// A version named in code ("1.8"): checked against the ladder while
// compiling, so a mistyped version cannot silently fail every test.
struct VersionName {
    consteval VersionName(const char* version) : rung(find(version)) {}
    std::size_t rung;

private:
    static consteval std::size_t find(std::string_view version) {
        for (std::size_t i = 0; i < kFileVersions.size(); ++i) {
            if (kFileVersions[i] == version) return i;
        }
        throw "not a scene file version";
    }
};

// A file's place on the ladder, or none for a tag outside the family
// (every "since" test then fails, as for the older family).
class FileVersion {
public:
    FileVersion() = default;
    static FileVersion fromTag(std::string_view tag);
    static FileVersion newest();

    bool known() const { return rung_.has_value(); }
    // True when the file is `version` or newer; false for tags off the ladder.
    bool since(VersionName version) const { return rung_ && *rung_ >= version.rung; }
    // True when the file is older than `version`; files of the older family
    // read with the oldest layout, so they count as older than every version.
    bool before(VersionName version) const { return !since(version); }
    // True when the file lies from `first` to `last`, both included.
    bool between(VersionName first, VersionName last) const {
        return rung_ && *rung_ >= first.rung && *rung_ <= last.rung;
    }
    bool is(VersionName version) const { return rung_ && *rung_ == version.rung; }

private:
    std::optional<std::size_t> rung_;
};

// The ladder position of a version text ("1.15a"); none when not listed.
std::optional<std::size_t> versionRung(std::string_view version);

bool isOldFamilyTag(std::string_view tag);

}  // namespace morvanex
