// Names the program gives scene files.
#pragma once

#include <filesystem>
#include <string>

namespace morvanex {

// The first of "Nouvelle scene.mrx", "Nouvelle scene1.mrx", "Nouvelle
// scene2.mrx", ... that does not exist yet in `folder`. Nothing is written.
std::filesystem::path newScenePath(const std::filesystem::path& folder);

// The scene file name shown in the title: the last component of the path.
std::string sceneFileNameOf(const std::string& scenePath);

}  // namespace morvanex
