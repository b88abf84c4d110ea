#include <algorithm>
#include "render/text_fonts.h"

#include <bit>
#include <cmath>
#include <fstream>
#include <system_error>

#include "base/trace_log.h"
#include "render/shader_library.h"
#include "render/texture_loading.h"

namespace morvanex {

namespace {

constexpr std::string_view kFileNotFound = "D3D11_ERROR_FILE_NOT_FOUND";
constexpr std::string_view kFailed = "E_FAIL";

float readFloat(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return std::bit_cast<float>(bits);
}

void writeFloat(std::vector<std::uint8_t>& bytes, std::size_t at, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

// "shaders\<name>" as the trace lines name the font files.
std::string traceName(std::string_view name) { return "shaders\\" + std::string(name); }

TextureImage* loadFontImage(const std::filesystem::path& folder, std::string_view name, TextureList& list,
                            const TraceLog& trace) {
    const std::filesystem::path path = folder / std::string(name);
    const std::string call = "CreateTextureFromFile " + traceName(name);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        trace.result(call, kFileNotFound);
        return nullptr;
    }
    TextureResult loaded = loadTextureFile(path);
    if (!loaded) {
        trace.result(call, kFailed);
        trace.line(traceName(name) + ": " + loaded.error);
        return nullptr;
    }
    return &list.add(std::move(*loaded.image));
}

std::optional<FontMetrics> loadFontTable(const std::filesystem::path& folder, std::string_view name,
                                         const TraceLog& trace) {
    const std::filesystem::path path = folder / std::string(name);
    const std::string call = "ReadFile " + traceName(name);
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(path, ignored)) {
        trace.result(call, kFileNotFound);
        return std::nullopt;
    }
    std::string why;
    std::optional<FontMetrics> metrics = loadFontMetrics(path, &why);
    // A short table still serves the characters it holds.
    if (!why.empty()) {
        trace.result(call, kFailed);
        trace.line(traceName(name) + ": " + why);
    }
    return metrics;
}

}  // namespace

std::optional<FontMetrics> parseFontMetrics(std::span<const std::uint8_t> bytes) {
    FontMetrics metrics;
    // Records the bytes do not hold keep zero width: those characters draw nothing.
    const std::size_t records = std::min(kFontMetricsRecords, bytes.size() / kFontMetricsRecordBytes);
    for (std::size_t i = 0; i < records; ++i) {
        const float left = readFloat(bytes, i * kFontMetricsRecordBytes);
        const float width = readFloat(bytes, i * kFontMetricsRecordBytes + 4);
        metrics.glyphs[i].left = std::isfinite(left) ? left : 0.0f;
        metrics.glyphs[i].width = std::isfinite(width) && width > 0.0f ? width : 0.0f;
    }
    return metrics;
}

std::vector<std::uint8_t> encodeFontMetrics(const FontMetrics& metrics) {
    std::vector<std::uint8_t> bytes(kFontMetricsBytes, 0);
    for (std::size_t i = 0; i < kFontMetricsRecords; ++i) {
        writeFloat(bytes, i * kFontMetricsRecordBytes, metrics.glyphs[i].left);
        writeFloat(bytes, i * kFontMetricsRecordBytes + 4, metrics.glyphs[i].width);
    }
    return bytes;
}

std::optional<FontMetrics> loadFontMetrics(const std::filesystem::path& path, std::string* error) {
    auto fail = [error](std::string why) {
        if (error != nullptr) *error = std::move(why);
        return std::nullopt;
    };
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return fail("cannot be read (" + ec.message() + ")");
    std::ifstream file(path, std::ios::binary);
    if (!file) return fail("cannot be opened");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uintmax_t>(size, kFontMetricsBytes)));
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    if (bytes.size() < kFontMetricsBytes && error != nullptr) {
        *error = std::to_string(bytes.size()) + " bytes, a metrics table needs " + std::to_string(kFontMetricsBytes) +
                 ": the characters past the end draw nothing";
    }
    return parseFontMetrics(bytes);
}

const FontMetrics* FontSet::metrics(bool bold) const {
    const std::optional<FontMetrics>& table = bold ? boldMetrics : regularMetrics;
    return table ? &*table : nullptr;
}

FontSet loadFonts(const std::filesystem::path& programFolder, TextureList& list, const TraceLog& trace) {
    const std::filesystem::path folder = shaderFolder(programFolder);
    FontSet fonts;
    fonts.regularImage = loadFontImage(folder, kRegularFontImage, list, trace);
    fonts.boldImage = loadFontImage(folder, kBoldFontImage, list, trace);
    fonts.invertedImage = loadFontImage(folder, kInvertedFontImage, list, trace);
    fonts.regularMetrics = loadFontTable(folder, kRegularFontMetrics, trace);
    fonts.boldMetrics = loadFontTable(folder, kBoldFontMetrics, trace);
    return fonts;
}

}  // namespace morvanex
