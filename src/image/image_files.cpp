#include "image/image_files.h"

#include <array>
#include <fstream>

#include "base/file_names.h"
#include "base/text_encoding.h"

namespace morvanex {

namespace {

constexpr std::string_view kInterfaceImages[] = {
    "fleche.dds", "zoomauto.dds", "tex_logo.dds", "oxford.dds", "fontaine.bmp", "caret.dds", "bulle2.dds",
    "bulle3.dds", "colorsel.dds", "scrollbar8.dds", "scrollbar4.dds", "ok.dds", "ombre.bmp", "red.bmp",
    "white.bmp", "checked.dds", "unchecked.dds", "FalloffRamp.dds", "lune.jpg", "lune_bump.jpg", "boite.jpg",
    "boite_bump.jpg", "cadre1.dds", "cadre2.dds", "cadre3.dds", "cadre4.dds", "cadre5.dds", "radiobutton.dds",
    "radiobuttoncoched.dds", "redim.dds", "redim1.bmp", "fenetre1.bmp", "onglet1.dds", "onglet2.dds",
    "onglet3b.dds", "onglet5.dds", "onglet6.dds", "onglet7.dds", "onglet8.dds", "button3.dds", "button2.dds",
    "selection4.dds", "selection4.dds", "information3.dds", "hint4.dds", "eclairagedir.dds", "cinematique.dds",
    "animation.dds", "animation1.dds", "texanim.dds", "son1.dds", "son2.dds", "marche.dds", "marche1.dds",
    "mbutton.dds", "mbuttonc.dds", "mbuttond.dds", "mbuttonoverd.dds", "undoprec.dds", "undoprecover.dds",
    "undosuiv.dds", "undosuivover.dds", "groupe.dds", "groupe1c.dds", "groupe2c.dds", "groupe3c.dds",
    "groupe4c.dds", "groupe5c.dds", "groupe1d.dds", "groupe1e.dds", "groupe2d.dds", "toggle.dds",
    "toggleover.dds", "cercle.dds", "cerclen.dds", "vertice.dds", "vertice1.dds", "pis2.dds", "pis4.dds",
    "pis.dds", "mbuttonw.dds", "mbuttonover.dds", "mbuttonoverc.dds", "film.dds", "close1.dds", "c.dds",
    "close1 over.dds", "cursorsbar3.bmp", "cursorsbar4.dds", "avsound.bmp", "imagecl\xE9.dds", "black.bmp",
    "fichier.dds", "fichierover.dds", "open.dds", "openover.dds", "save.dds", "saveover.dds", "cadret.dds",
    "cadretover.dds", "selectionmulti.dds",
};

std::int64_t read32(std::span<const std::uint8_t> b, std::size_t at) {
    const std::uint32_t v = static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
                            (static_cast<std::uint32_t>(b[at + 2]) << 16) |
                            (static_cast<std::uint32_t>(b[at + 3]) << 24);
    return static_cast<std::int32_t>(v);
}

}  // namespace

std::string imageBaseName(std::string_view pathText) {
    const std::size_t slash = pathText.find_last_of("\\/");
    return std::string(slash == std::string_view::npos ? pathText : pathText.substr(slash + 1));
}

std::span<const std::string_view> interfaceImageNames() { return kInterfaceImages; }

std::filesystem::path interfaceImagePath(const std::filesystem::path& programFolder, std::string_view name) {
    return programFolder / "UI" / pathFromText(name);
}

TextureSequenceFrames splitTextureSequence(std::span<const std::uint8_t> file) {
    TextureSequenceFrames result;
    if (file.size() < 4) {
        result.error = "texture sequence: frame count missing";
        return result;
    }
    const std::int64_t count = read32(file, 0);
    if (count < 0) {
        result.error = "texture sequence: negative frame count";
        return result;
    }
    std::size_t offset = 4;
    for (std::int64_t frame = 0; frame < count; ++frame) {
        if (file.size() - offset < 4) {
            result.error = "texture sequence: ends before frame " + std::to_string(frame + 1);
            return result;
        }
        const std::int64_t length = read32(file, offset);
        offset += 4;
        if (length < 0 || static_cast<std::uint64_t>(length) > file.size() - offset) {
            result.error = "texture sequence: frame " + std::to_string(frame + 1) + " is cut off";
            return result;
        }
        result.frames.push_back(file.subspan(offset, static_cast<std::size_t>(length)));
        offset += static_cast<std::size_t>(length);
    }
    return result;
}

std::string textureSequenceFrameName(int frameNumber) { return "a18b_" + std::to_string(frameNumber); }

std::filesystem::path environmentCubePath(const std::filesystem::path& sceneFolder, std::string_view objectName) {
    // Object names come from scene files: the file stays in the scene folder.
    return sceneFolder / pathFromText(std::string(fileNameLeaf(std::string(objectName) + std::string(kEnvironmentCubeSuffix))));
}

std::filesystem::path blurredShadowPath(const std::filesystem::path& sceneFolder, std::string_view objectName) {
    return sceneFolder / pathFromText(std::string(fileNameLeaf(std::string(objectName) + std::string(kBlurredShadowSuffix))));
}

bool readImageFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::uint64_t& fileSize,
                   std::uint64_t limit) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) return false;
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > limit) return false;
    fileSize = static_cast<std::uint64_t>(size);
    bytes.resize(static_cast<std::size_t>(size));
    file.seekg(0);
    return static_cast<bool>(file.read(reinterpret_cast<char*>(bytes.data()), size));
}

bool writeImageFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace morvanex
