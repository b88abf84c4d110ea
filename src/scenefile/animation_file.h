// Animation files (".ani"): one object's animation on its own, to carry
// from one scene to another. The file holds the newest tag, the animation
// header and the sequences; the objects the states pose are numbered by
// their place in the target's tree (the target 1, then its children depth
// first), so the file fits any object whose tree has the same shape.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace morvanex {

class Scene;
struct Animation;
struct SceneObject;

// The object's animation as file bytes; empty when it has none worth
// writing (no sequence and no children).
std::vector<std::uint8_t> writeAnimationBytes(Scene& scene, const SceneObject& target);

struct AnimationFileResult {
    bool ok = false;
    std::string error;                 // why nothing (or not all) was read or written
    Animation* animation = nullptr;    // read: the animation the sequences joined
    std::int32_t sequencesAdded = 0;   // read: whole sequences added
};

// Writes the file safely (the previous file stays whole on failure).
AnimationFileResult writeAnimationFile(const std::filesystem::path& path, Scene& scene, const SceneObject& target);

// Adds the file's sequences to the target's animation, made when it has
// none; the sequences already there stay. A file of no known version, or
// damaged before its first whole sequence, changes nothing.
AnimationFileResult readAnimationBytes(std::span<const std::uint8_t> bytes, Scene& scene, SceneObject& target);
AnimationFileResult readAnimationFile(const std::filesystem::path& path, Scene& scene, SceneObject& target);

// ".ani" appended unless the name already ends so, in any case.
std::filesystem::path animationFilePathFor(const std::filesystem::path& chosen);

}  // namespace morvanex
