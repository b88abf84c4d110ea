// The program keeps its texts (labels, object names, strings of scene files,
// glyph indices of the fonts) as 8-bit Windows-1252 bytes. These converters
// are the only way text crosses into UTF-8: file-system paths, the window
// title, the clipboard, dialogs and terminal output.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace morvanex {

// Every Windows-1252 byte has a code point except the five holes
// 0x81, 0x8D, 0x8F, 0x90 and 0x9D, which map to U+FFFD.
char32_t codePointFromCp1252(unsigned char byte);

// The byte for a code point, or nothing when Windows-1252 has no such character.
std::optional<unsigned char> cp1252FromCodePoint(char32_t codePoint);

std::string utf8FromCp1252(std::string_view cp1252);

// Characters with no Windows-1252 byte become `replacement`; malformed UTF-8
// sequences become one `replacement` per bad byte.
std::string cp1252FromUtf8(std::string_view utf8, char replacement = '?');

// Appends the UTF-8 bytes of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

// Decodes one UTF-8 sequence at `pos`, advancing it; U+FFFD on malformed input.
char32_t decodeUtf8(std::string_view utf8, std::size_t& pos);

// File-system boundary: a Windows-1252 path text to a native path and back.
std::filesystem::path pathFromText(std::string_view cp1252);
std::string textFromPath(const std::filesystem::path& path);

}  // namespace morvanex
