#include "app/scene_file_copies.h"

#include <set>
#include <string_view>
#include <system_error>

#include "base/file_names.h"
#include "base/text_encoding.h"
#include "image/image_files.h"
#include "scene/scene.h"
#include "scenefile/scene_procedures.h"
#include "scenefile/scene_writer.h"

namespace morvanex {

namespace {

class CopyPlanner {
public:
    CopyPlanner(const ScenePaths& readFrom, std::filesystem::path sceneFolder)
        : from_{readFrom.textureFolder, readFrom.sceneFolder}, to_(std::move(sceneFolder)) {}

    // A stored name: its last component, looked for where the scene came from.
    void add(std::string_view storedName) {
        const std::string_view leaf = fileNameLeaf(storedName);
        if (leaf.empty() || leaf == " " || !planned_.insert(std::string(leaf)).second) return;
        const std::filesystem::path destination = to_ / pathFromText(leaf);
        std::error_code error;
        if (std::filesystem::exists(destination, error)) return;
        for (const std::filesystem::path& folder : from_) {
            if (folder.empty()) continue;
            const std::filesystem::path source = folder / pathFromText(leaf);
            if (std::filesystem::is_regular_file(source, error)) {
                copies.push_back({source, destination});
                return;
            }
        }
    }

    std::vector<FileCopy> copies;

private:
    std::vector<std::filesystem::path> from_;
    std::filesystem::path to_;
    std::set<std::string> planned_;
};

}  // namespace

std::vector<FileCopy> plannedFileCopies(const Scene& scene, const ScenePaths& readFrom,
                                        const std::filesystem::path& sceneFolder, bool selectionOnly) {
    CopyPlanner planner(readFrom, sceneFolder);
    for (const auto& object : scene.objects()) {
        if (!scene.isSaved(*object) || (selectionOnly && !inSelection(scene, *object))) continue;
        for (const SceneTexture* texture : object->textures) {
            if (texture != nullptr && !texture->embedded) planner.add(texture->fileName);
        }
        if (object->envMapEnabled()) planner.add(object->name + std::string(kEnvironmentCubeSuffix));
        planner.add(object->name + std::string(kBlurredShadowSuffix));
        if (!object->soundFileName.empty()) planner.add(object->soundFileName);
        if (object->extensionCopyFile) planner.add(object->extensionFileName);
    }
    if (!selectionOnly) {
        for (const SavedViewpoint& view : scene.viewpoints) planner.add(view.imageFileName);
    }
    return std::move(planner.copies);
}

std::vector<std::string> copyFilesBesideScene(const std::vector<FileCopy>& copies) {
    std::vector<std::string> failures;
    for (const FileCopy& copy : copies) {
        std::error_code error;
        // skip_existing: a file the user put there meanwhile wins.
        std::filesystem::copy_file(copy.source, copy.destination, std::filesystem::copy_options::skip_existing,
                                   error);
        if (error) failures.push_back(textFromPath(copy.destination.filename()) + ": " + error.message());
    }
    return failures;
}

}  // namespace morvanex
