#include "scenefile/animation_file.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "base/file_bytes.h"
#include "base/safe_file.h"
#include "base/text_encoding.h"
#include "scene/scene.h"
#include "scenefile/record_io.h"

namespace morvanex {

namespace {

// The target, then its children depth first, each once: the numbering of
// the objects an animation file's states refer to.
std::vector<SceneObject*> animationTree(const SceneObject& target) {
    std::vector<SceneObject*> tree{const_cast<SceneObject*>(&target)};
    std::unordered_set<const SceneObject*> seen{&target};
    std::vector<std::pair<const SceneObject*, std::size_t>> stack{{&target, 0}};
    while (!stack.empty()) {
        auto& [owner, next] = stack.back();
        if (next == owner->children.size()) {
            stack.pop_back();
            continue;
        }
        SceneObject* child = owner->children[next++];
        if (child == nullptr || !seen.insert(child).second) continue;
        tree.push_back(child);
        stack.emplace_back(child, 0);
    }
    return tree;
}

Animation* animationTargeting(const Scene& scene, const SceneObject& target) {
    for (const auto& animation : scene.animations()) {
        if (animation->target == &target) return animation.get();
    }
    return nullptr;
}

}  // namespace

std::vector<std::uint8_t> writeAnimationBytes(Scene& scene, const SceneObject& target) {
    const Animation* animation = animationTargeting(scene, target);
    if (animation == nullptr || (animation->sequences.empty() && target.children.empty())) return {};
    const std::vector<SceneObject*> tree = animationTree(target);
    for (const auto& object : scene.objects()) object->saveIndex = 0;
    for (std::size_t i = 0; i < tree.size(); ++i) tree[i]->saveIndex = static_cast<std::int32_t>(i + 1);
    ByteWriter out;
    RecordWriteContext context{out, scene, false, {}};
    out.cstr(kNewestFileTag);
    writeAnimationHeader(out, *animation);
    writeAnimationSequences(context, *animation);
    for (SceneObject* object : tree) object->saveIndex = 0;
    return out.joined();
}

AnimationFileResult writeAnimationFile(const std::filesystem::path& path, Scene& scene, const SceneObject& target) {
    AnimationFileResult result;
    const std::vector<std::uint8_t> bytes = writeAnimationBytes(scene, target);
    if (bytes.empty()) {
        result.error = "the object has no animation to write";
        return result;
    }
    result.ok = replaceFileSafely(path, bytes, &result.error);
    return result;
}

AnimationFileResult readAnimationBytes(std::span<const std::uint8_t> bytes, Scene& scene, SceneObject& target) {
    AnimationFileResult result;
    ByteReader in(bytes);
    const std::string tag = in.cstr("tag");
    const FileVersion version = FileVersion::fromTag(tag);
    if (!in.ok() || !version.known()) {
        result.error = "not an animation file of a known version";
        return result;
    }
    const AnimationHeader header = readAnimationHeader(in);
    if (!in.ok()) {
        result.error = "damaged at byte " + std::to_string(in.failedOffset()) + " while reading the animation header";
        return result;
    }

    const bool cameraAnimation = &target == scene.cameraObject();
    Animation* animation = animationTargeting(scene, target);
    const bool made = animation == nullptr;
    if (made) {
        animation = &scene.addAnimation(target.name);
        animation->target = &target;
        animation->cameraFlag = cameraAnimation ? 1 : 0;
        animation->animationFlag = header.animationFlag;
        animation->sequenceReferenceNames = header.references;
    }
    const std::vector<SceneObject*> tree = animationTree(target);
    const SceneReadOptions options;
    RecordReadContext c(in, version, scene, options);
    c.bySaveIndex.insert(c.bySaveIndex.end(), tree.begin(), tree.end());
    const std::size_t before = animation->sequences.size();
    readAnimationSequences(c, *animation, cameraAnimation);
    result.sequencesAdded = static_cast<std::int32_t>(animation->sequences.size() - before);
    if (!in.ok()) {
        result.error = "damaged at byte " + std::to_string(in.failedOffset()) + " while reading " + in.failedWhat();
    } else if (!in.atEnd()) {
        result.error = std::to_string(in.remaining()) + " bytes after the last sequence were not read";
    }
    if (made && result.sequencesAdded == 0) {
        scene.removeAnimation(animation);
        return result;
    }
    // The tree moves with the animation, as when a scene is read.
    for (SceneObject* object : tree) {
        if (object->animation == nullptr) object->animation = animation;
    }
    animation->resolveSequenceReferences();
    result.animation = animation;
    result.ok = result.error.empty();
    return result;
}

AnimationFileResult readAnimationFile(const std::filesystem::path& path, Scene& scene, SceneObject& target) {
    const FileBytes file(path);
    if (!file.opened()) {
        AnimationFileResult result;
        result.error = file.notRegular() ? "not a regular file" : "cannot open the file";
        return result;
    }
    return readAnimationBytes(file.bytes(), scene, target);
}

std::filesystem::path animationFilePathFor(const std::filesystem::path& chosen) {
    std::string extension = textFromPath(chosen.extension());
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::toupper(c); });
    if (extension == ".ANI") return chosen;
    std::filesystem::path path = chosen;
    path += ".ANI";
    return path;
}

}  // namespace morvanex
