#include "import/import_result.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>
#include <unordered_map>


#include "base/file_bytes.h"
#include "base/file_names.h"
#include "base/text_encoding.h"
#include "scene/scene.h"

namespace morvanex {

namespace {

// Candidate paths of a name in a folder: as written, then its last part.
std::vector<std::filesystem::path> candidates(const std::filesystem::path& folder, std::string_view name) {
    std::string cleaned(name);
    for (char& c : cleaned) {
        if (c == '\\') c = '/';
    }
    std::vector<std::filesystem::path> out;
    if (cleaned.empty()) return out;
    const std::filesystem::path written = pathFromText(cleaned);
    out.push_back(written.is_absolute() ? written : folder / written);
    const std::filesystem::path last = written.filename();
    if (!last.empty() && last != written) out.push_back(folder / last);
    return out;
}

std::optional<std::filesystem::path> findIn(const std::filesystem::path& folder, std::string_view name) {
    std::error_code error;
    for (const auto& candidate : candidates(folder, name)) {
        if (std::filesystem::is_regular_file(candidate, error)) return candidate;
    }
    return std::nullopt;
}

}  // namespace

SideFiles sideFilesIn(const std::filesystem::path& folder) {
    SideFiles files;
    files.read = [folder](std::string_view name) -> std::optional<std::string> {
        const auto path = findIn(folder, name);
        if (!path) return std::nullopt;
        std::ifstream in(*path, std::ios::binary);
        if (!in) return std::nullopt;
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    files.locate = [folder](std::string_view name) -> std::optional<std::string> {
        const auto path = findIn(folder, name);
        if (!path) return std::nullopt;
        return textFromPath(*path);
    };
    return files;
}

SceneTexture& ImportResult::texture(std::string_view fileName) {
    for (auto& t : textures) {
        if (t->fileName == fileName) return *t;
    }
    textures.push_back(std::make_unique<SceneTexture>(std::string(fileName)));
    return *textures.back();
}

void attachMaterialImage(SceneObject& object, const std::string& mapName, const ImportOptions& options,
                         ImportResult& result) {
    SceneTexture& texture = result.texture(fileNameLeaf(mapName));
    if (texture.fullPath.empty() && !texture.missing) {
        const auto found = options.sideFiles.locate ? options.sideFiles.locate(mapName) : std::nullopt;
        if (found) {
            texture.fullPath = *found;
        } else {
            texture.missing = true;
            result.report.note("texture file not found: " + mapName);
        }
    }
    object.textures[0] = &texture;
    object.textureEnabled[0] = !texture.missing;
    texture.lastAttachedObject = &object;
}

void reportImportShare(const ImportOptions& options, std::uint64_t total, double share) {
    if (!options.progress) return;
    const double clamped = share < 0.0 ? 0.0 : share > 1.0 ? 1.0 : share;
    options.progress(share >= 1.0 ? total : static_cast<std::uint64_t>(clamped * static_cast<double>(total)), total);
}

ImportResult importFromFile(const std::filesystem::path& path, ImportOptions options,
                            const std::function<ImportResult(std::span<const std::uint8_t>, const ImportOptions&)>& read) {
    const FileBytes file(path);
    if (!file.opened()) {
        ImportResult failed;
        failed.error = file.notRegular() ? "not a regular file" : "cannot open the file";
        return failed;
    }
    if (!options.sideFiles.read && !options.sideFiles.locate) options.sideFiles = sideFilesIn(path.parent_path());
    return read(file.bytes(), options);
}

std::size_t addToScene(ImportResult& result, Scene& scene) {
    // Textures first, so that slots can be repointed at shared records.
    std::unordered_map<const SceneTexture*, SceneTexture*> shared;
    for (auto& texture : result.textures) {
        SceneTexture* existing = scene.findTexture(texture->fileName);
        if (existing == nullptr) {
            SceneTexture* kept = texture.get();
            scene.addTexture(std::move(texture));
            shared[kept] = kept;
        } else {
            shared[texture.get()] = existing;
        }
    }
    const std::size_t added = result.objects.size();
    for (auto& object : result.objects) {
        for (SceneTexture*& slot : object->textures) {
            if (slot == nullptr) continue;
            const auto it = shared.find(slot);
            slot = it == shared.end() ? nullptr : it->second;
            if (slot != nullptr) slot->lastAttachedObject = object.get();
        }
        scene.addObject(std::move(object));
    }
    for (auto& animation : result.animations) scene.addAnimation(std::move(animation));
    result.objects.clear();
    result.animations.clear();
    result.textures.clear();
    scene.loadedVersionTag = std::string(kProgramVersionLabel);
    if (added > 0) scene.modified = true;
    return added;
}

}  // namespace morvanex
