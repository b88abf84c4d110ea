// Descriptions of a scene file as it was read: the header, the objects in
// file order, the animations and, for a damaged file, where reading stopped.
// Plain text for people and one JSON object for programs; both UTF-8.
//
// These are pure functions of the scene and the read report, so that what
// `morvanex info` prints can be checked without running the program.
#pragma once

#include <string>
#include <string_view>

#include "scenefile/scene_reader.h"

namespace morvanex {

class Scene;

// The status as a stable word: "complete", "damaged", "unknown-tag",
// "refused-tag" or "unreadable".
std::string_view readStatusName(ReadStatus status);

// `fileName` is the file as the user named it (UTF-8; a malformed sequence
// is shown as U+FFFD). The scene is the one the report's read filled; the
// four service objects at its head are not described.
std::string sceneInfoText(const Scene& scene, const SceneReadReport& report, std::string_view fileName);
std::string sceneInfoJson(const Scene& scene, const SceneReadReport& report, std::string_view fileName);

// How far the read got, in records: "5 of 6 object records, 0 of 2 animation
// records"; for a damaged file that stopped before the animations, these are
// said to be not reached rather than counted as none.
std::string readProgressText(const SceneReadReport& report);

// UTF-8 text with each malformed sequence replaced by U+FFFD.
std::string validUtf8(std::string_view text);

// A JSON string literal of UTF-8 text, quotes included: quote and backslash
// escaped, control characters as \u00XX, malformed UTF-8 replaced.
std::string jsonQuoted(std::string_view utf8);

}  // namespace morvanex
