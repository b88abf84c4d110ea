// Windows-1252 <-> UTF-8 conversion and the file-system path boundary.
#include "base/text_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace morvanex {
namespace {

constexpr std::array<unsigned char, 5> kHoles = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

bool isHole(unsigned char byte) { return std::find(kHoles.begin(), kHoles.end(), byte) != kHoles.end(); }

std::string bytes(std::initializer_list<unsigned char> list) {
    std::string s;
    for (unsigned char b : list) s.push_back(static_cast<char>(b));
    return s;
}

// Converts `input` from a heap buffer of exactly its size, so that any read
// past the end is caught by the address sanitizer, and from a view into a
// longer buffer whose following bytes would complete the sequence, so that a
// read past the end changes the result even without the sanitizer.
std::string cp1252FromExactBuffer(const std::string& input, const std::string& followingBytes) {
    const std::size_t size = input.size();
    auto exact = std::make_unique<char[]>(std::max<std::size_t>(size, 1));
    std::memcpy(exact.get(), input.data(), size);
    const std::string fromExact = cp1252FromUtf8(std::string_view(exact.get(), size));

    const std::string longer = input + followingBytes;
    const std::string fromPrefix = cp1252FromUtf8(std::string_view(longer.data(), size));
    EXPECT_EQ(fromExact, fromPrefix) << "the bytes after the input changed the result";
    return fromExact;
}

// --- Single bytes and code points ------------------------------------------

TEST(TextEncodingTable, HolesMapToReplacementCharacter) {
    for (unsigned char hole : kHoles) {
        EXPECT_EQ(codePointFromCp1252(hole), U'\uFFFD') << "byte 0x" << std::hex << int{hole};
        EXPECT_EQ(utf8FromCp1252(std::string(1, static_cast<char>(hole))), "\xEF\xBF\xBD");
    }
    // U+FFFD has no byte of its own: it must not turn back into a hole.
    EXPECT_FALSE(cp1252FromCodePoint(U'\uFFFD').has_value());
}

TEST(TextEncodingTable, AsciiAndLatin1RangesAreTheirOwnCodePoints) {
    for (int b = 0; b < 0x80; ++b) EXPECT_EQ(codePointFromCp1252(static_cast<unsigned char>(b)), static_cast<char32_t>(b));
    for (int b = 0xA0; b <= 0xFF; ++b) EXPECT_EQ(codePointFromCp1252(static_cast<unsigned char>(b)), static_cast<char32_t>(b));
}

TEST(TextEncodingTable, KnownCharactersOfTheHighRange) {
    struct Known {
        unsigned char byte;
        char32_t codePoint;
        const char* utf8;
    };
    const Known known[] = {
        {0x80, U'\u20AC', "\xE2\x82\xAC"},  // euro sign
        {0x85, U'\u2026', "\xE2\x80\xA6"},  // ellipsis
        {0x8A, U'\u0160', "\xC5\xA0"},      // S caron
        {0x8C, U'\u0152', "\xC5\x92"},      // OE ligature
        {0x91, U'\u2018', "\xE2\x80\x98"},  // left single quote
        {0x92, U'\u2019', "\xE2\x80\x99"},  // right single quote
        {0x93, U'\u201C', "\xE2\x80\x9C"},
        {0x94, U'\u201D', "\xE2\x80\x9D"},
        {0x96, U'\u2013', "\xE2\x80\x93"},  // en dash
        {0x97, U'\u2014', "\xE2\x80\x94"},  // em dash
        {0x99, U'\u2122', "\xE2\x84\xA2"},  // trade mark
        {0x9C, U'\u0153', "\xC5\x93"},      // oe ligature
        {0x9E, U'\u017E', "\xC5\xBE"},      // z caron
        {0x9F, U'\u0178', "\xC5\xB8"},      // Y diaeresis
        {0xAB, U'\u00AB', "\xC2\xAB"},      // left guillemet
        {0xBB, U'\u00BB', "\xC2\xBB"},
        {0xE9, U'\u00E9', "\xC3\xA9"},      // e acute
        {0xFF, U'\u00FF', "\xC3\xBF"},
    };
    for (const Known& k : known) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << int{k.byte});
        EXPECT_EQ(codePointFromCp1252(k.byte), k.codePoint);
        EXPECT_EQ(utf8FromCp1252(std::string(1, static_cast<char>(k.byte))), k.utf8);
        ASSERT_TRUE(cp1252FromCodePoint(k.codePoint).has_value());
        EXPECT_EQ(*cp1252FromCodePoint(k.codePoint), k.byte);
        EXPECT_EQ(cp1252FromUtf8(k.utf8), std::string(1, static_cast<char>(k.byte)));
    }
}

TEST(TextEncodingTable, EveryDefinedByteRoundTripsAndCodePointsAreDistinct) {
    std::set<char32_t> seen;
    int defined = 0;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (isHole(byte)) continue;
        ++defined;
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << b);
        const char32_t cp = codePointFromCp1252(byte);
        EXPECT_NE(cp, U'\uFFFD');
        EXPECT_TRUE(seen.insert(cp).second) << "two bytes share a code point";
        const auto back = cp1252FromCodePoint(cp);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, byte);

        const std::string one(1, static_cast<char>(byte));
        const std::string utf8 = utf8FromCp1252(one);
        EXPECT_EQ(cp1252FromUtf8(utf8, '#'), one);
        std::size_t pos = 0;
        EXPECT_EQ(decodeUtf8(utf8, pos), cp);
        EXPECT_EQ(pos, utf8.size());
    }
    EXPECT_EQ(defined, 251);
}

TEST(TextEncodingTable, WholeByteRangeAtOnceKeepsEveryDefinedByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string back = cp1252FromUtf8(utf8FromCp1252(all), '#');
    ASSERT_EQ(back.size(), all.size());
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(back[static_cast<std::size_t>(b)], isHole(byte) ? '#' : all[static_cast<std::size_t>(b)])
            << "byte 0x" << std::hex << b;
    }
}

TEST(TextEncodingTable, C1ControlCodePointsHaveNoByte) {
    // U+0080..U+009F are not Windows-1252 characters even though their
    // numbers look like bytes of the high range.
    for (char32_t cp = 0x80; cp <= 0x9F; ++cp) EXPECT_FALSE(cp1252FromCodePoint(cp).has_value()) << std::hex << static_cast<std::uint32_t>(cp);
    EXPECT_EQ(cp1252FromUtf8("\xC2\x80\xC2\x9F"), "??");
}

TEST(TextEncodingTable, CodePointsOutsideTheCodePageHaveNoByte) {
    for (char32_t cp : {U'\u0100', U'\u0391', U'\u20AD', U'\u65E5', U'\U0001F600', char32_t{0x110000}})
        EXPECT_FALSE(cp1252FromCodePoint(cp).has_value()) << std::hex << static_cast<std::uint32_t>(cp);
}

// --- Strings ------------------------------------------------------------------

TEST(TextEncodingStrings, MixedTextRoundTrips) {
    // "Café « Noël » – l’œuvre coûte 5 €"
    const std::string cp1252 = "Caf\xE9 \xAB No\xEBl \xBB \x96 l\x92\x9Cuvre co\xFBte 5 \x80";
    const std::string utf8 = utf8FromCp1252(cp1252);
    EXPECT_EQ(utf8,
              "Caf\xC3\xA9 \xC2\xAB No\xC3\xABl \xC2\xBB \xE2\x80\x93 l\xE2\x80\x99\xC5\x93uvre co\xC3\xBBte 5 \xE2\x82\xAC");
    EXPECT_EQ(cp1252FromUtf8(utf8), cp1252);
}

TEST(TextEncodingStrings, EmptyAndEmbeddedNulBytes) {
    EXPECT_EQ(utf8FromCp1252(""), "");
    EXPECT_EQ(cp1252FromUtf8(""), "");
    const std::string withNul("a\0\xE9", 3);
    const std::string utf8 = utf8FromCp1252(withNul);
    EXPECT_EQ(utf8, std::string("a\0\xC3\xA9", 4));
    EXPECT_EQ(cp1252FromUtf8(utf8), withNul);
}

TEST(TextEncodingStrings, UnmappableCharactersBecomeOneReplacementEach) {
    // Greek alpha (2 bytes), CJK (3 bytes), an emoji (4 bytes): each one
    // character, so each one replacement however long its sequence.
    EXPECT_EQ(cp1252FromUtf8("a\xCE\xB1" "b\xE6\x97\xA5" "c\xF0\x9F\x98\x80" "d"), "a?b?c?d");
    EXPECT_EQ(cp1252FromUtf8("\xE6\x97\xA5\xE6\x9C\xAC", '_'), "__");
    // The replacement is the caller's choice and the neighbours survive.
    EXPECT_EQ(cp1252FromUtf8("\xC3\xA9\xF0\x9F\x98\x80\xC3\xA9", '*'), "\xE9*\xE9");
}

TEST(TextEncodingStrings, ReplacementCharacterInUtf8IsUnmappable) {
    EXPECT_EQ(cp1252FromUtf8("x\xEF\xBF\xBDy"), "x?y");
}

// --- Decoding one sequence -------------------------------------------------

TEST(TextEncodingDecode, ValidSequencesAtTheLengthBoundaries) {
    struct Case {
        std::string utf8;
        char32_t codePoint;
    };
    const Case cases[] = {
        {bytes({0x00}), 0x0000},
        {bytes({0x7F}), 0x007F},
        {bytes({0xC2, 0x80}), 0x0080},
        {bytes({0xDF, 0xBF}), 0x07FF},
        {bytes({0xE0, 0xA0, 0x80}), 0x0800},
        {bytes({0xED, 0x9F, 0xBF}), 0xD7FF},
        {bytes({0xEE, 0x80, 0x80}), 0xE000},
        {bytes({0xEF, 0xBF, 0xBF}), 0xFFFF},
        {bytes({0xF0, 0x90, 0x80, 0x80}), 0x10000},
        {bytes({0xF4, 0x8F, 0xBF, 0xBF}), 0x10FFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<std::uint32_t>(c.codePoint));
        const std::string text = "<" + c.utf8 + ">";
        std::size_t pos = 1;
        EXPECT_EQ(decodeUtf8(text, pos), c.codePoint);
        EXPECT_EQ(pos, 1 + c.utf8.size());
        EXPECT_EQ(decodeUtf8(text, pos), U'>');
    }
}

TEST(TextEncodingDecode, MalformedSequencesGiveReplacementAndAdvanceOneByte) {
    const std::string malformed[] = {
        bytes({0x80}),                    // stray continuation
        bytes({0xBF}),
        bytes({0xC0, 0x80}),              // overlong NUL
        bytes({0xC1, 0xBF}),              // overlong 0x7F
        bytes({0xE0, 0x80, 0x80}),        // overlong 3-byte
        bytes({0xE0, 0x9F, 0xBF}),        // overlong U+07FF
        bytes({0xF0, 0x80, 0x80, 0x80}),  // overlong 4-byte
        bytes({0xF0, 0x8F, 0xBF, 0xBF}),  // overlong U+FFFF
        bytes({0xED, 0xA0, 0x80}),        // surrogate U+D800
        bytes({0xED, 0xBF, 0xBF}),        // surrogate U+DFFF
        bytes({0xF4, 0x90, 0x80, 0x80}),  // U+110000
        bytes({0xF5, 0x80, 0x80, 0x80}),  // lead byte past Unicode
        bytes({0xF8, 0x88, 0x80, 0x80, 0x80}),  // 5-byte form
        bytes({0xF8, 0x90, 0x80, 0x80}),  // not a 4-byte lead, whatever follows
        bytes({0xFC, 0x90, 0x80, 0x80}),
        bytes({0xFE}),
        bytes({0xFF}),
        bytes({0xC3, 0x28}),              // lead followed by a non-continuation
        bytes({0xE2, 0x82, 0x28}),
    };
    for (const std::string& m : malformed) {
        SCOPED_TRACE(testing::Message() << "lead 0x" << std::hex << int{static_cast<unsigned char>(m[0])});
        std::size_t pos = 0;
        EXPECT_EQ(decodeUtf8(m, pos), U'\uFFFD');
        EXPECT_EQ(pos, 1u);
    }
}

TEST(TextEncodingDecode, WalksAStringOfMixedSequences) {
    const std::string text = bytes({'A', 0xC3, 0xA9, 0x80, 0xE2, 0x82, 0xAC, 0xF0, 0x9F, 0x98, 0x80});
    std::size_t pos = 0;
    EXPECT_EQ(decodeUtf8(text, pos), U'A');
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(decodeUtf8(text, pos), U'\u00E9');
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(decodeUtf8(text, pos), U'\uFFFD');
    EXPECT_EQ(pos, 4u);
    EXPECT_EQ(decodeUtf8(text, pos), U'\u20AC');
    EXPECT_EQ(pos, 7u);
    EXPECT_EQ(decodeUtf8(text, pos), U'\U0001F600');
    EXPECT_EQ(pos, text.size());
}

// --- Malformed input in whole strings --------------------------------------

TEST(TextEncodingMalformed, OneReplacementPerBadByte) {
    struct Case {
        std::string utf8;
        std::string expected;
    };
    const Case cases[] = {
        {bytes({0x80}), "?"},
        {bytes({'a', 0x80, 0xBF, 'b'}), "a??b"},
        {bytes({0xC0, 0x80}), "??"},
        {bytes({0xC1, 0x81, 'x'}), "??x"},
        {bytes({0xE0, 0x80, 0xAF}), "???"},
        {bytes({0xF0, 0x82, 0x82, 0xAC}), "????"},
        {bytes({0xED, 0xA0, 0x80}), "???"},
        {bytes({0xED, 0xB0, 0x80, 'z'}), "???z"},
        {bytes({0xF4, 0x90, 0x80, 0x80}), "????"},
        {bytes({0xF7, 0xBF, 0xBF, 0xBF}), "????"},
        {bytes({0xFF, 0xFE}), "??"},
        // An interrupted sequence does not swallow the valid character after it.
        {bytes({0xE2, 0x82, 'A'}), "??A"},
        {bytes({0xC3, 0xC3, 0xA9}), "?\xE9"},
        {bytes({0xF0, 0x9F, 0xC3, 0xA9}), "??\xE9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "input of " << c.utf8.size() << " bytes, lead 0x" << std::hex
                                        << int{static_cast<unsigned char>(c.utf8[0])});
        EXPECT_EQ(cp1252FromUtf8(c.utf8), c.expected);
    }
}

TEST(TextEncodingMalformed, TruncatedSequencesAtTheEndNeverReadPastTheInput) {
    // Each input is the start of a valid character; the bytes that would
    // complete it lie just past the end of the view.
    struct Case {
        std::string input;
        std::string rest;
        std::string expected;
    };
    const Case cases[] = {
        {bytes({0xC3}), bytes({0xA9}), "?"},
        {bytes({'a', 0xE2}), bytes({0x82, 0xAC}), "a?"},
        {bytes({'a', 0xE2, 0x82}), bytes({0xAC}), "a??"},
        {bytes({0xF0}), bytes({0x9F, 0x98, 0x80}), "?"},
        {bytes({0xF0, 0x9F}), bytes({0x98, 0x80}), "??"},
        {bytes({0xF0, 0x9F, 0x98}), bytes({0x80}), "???"},
        {bytes({0xC3, 0xA9, 0xE2, 0x82}), bytes({0xAC}), "\xE9??"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "input of " << c.input.size() << " bytes");
        EXPECT_EQ(cp1252FromExactBuffer(c.input, c.rest), c.expected);
    }
}

TEST(TextEncodingMalformed, DecodeOfTruncatedSequenceStopsAtTheEnd) {
    const std::string longer = bytes({0xE2, 0x82, 0xAC});
    const std::string_view truncated(longer.data(), 2);
    std::size_t pos = 0;
    EXPECT_EQ(decodeUtf8(truncated, pos), U'\uFFFD');
    EXPECT_EQ(pos, 1u);
    EXPECT_EQ(decodeUtf8(truncated, pos), U'\uFFFD');
    EXPECT_EQ(pos, 2u);
}

// --- File-system paths -----------------------------------------------------

class TextEncodingPathTest : public testing::Test {
protected:
    void SetUp() override {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        folder_ = std::filesystem::temp_directory_path() /
                  ("morvanex-text-encoding-" + std::to_string(::getpid()) + "-" +
                   std::to_string(stamp));
        ASSERT_TRUE(std::filesystem::create_directories(folder_));
    }
    void TearDown() override {
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    std::filesystem::path folder_;
};

TEST_F(TextEncodingPathTest, AccentedNamesBecomeUtf8NativePathsAndBack) {
    const std::string names[] = {
        "Caf\xE9 No\xEBl.scn",           // Café Noël
        "\x9Cuvre \xAB finale \xBB.scn",  // œuvre « finale »
        "prix 5 \x80 l\x92\xE9t\xE9",    // prix 5 € l’été
        "plain.txt",
    };
    for (const std::string& name : names) {
        const std::filesystem::path path = pathFromText(name);
        const std::u8string u8 = path.u8string();
        EXPECT_EQ(std::string(u8.begin(), u8.end()), utf8FromCp1252(name));
        EXPECT_EQ(textFromPath(path), name);
    }
    EXPECT_EQ(pathFromText("Caf\xE9").native(), "Caf\xC3\xA9");
}

TEST_F(TextEncodingPathTest, NestedPathKeepsItsSeparators) {
    const std::string text = "/tmp/Dossier \xE9t\xE9/sc\xE8ne.scn";
    const std::filesystem::path path = pathFromText(text);
    EXPECT_EQ(textFromPath(path.filename()), "sc\xE8ne.scn");
    EXPECT_EQ(textFromPath(path.parent_path().filename()), "Dossier \xE9t\xE9");
    EXPECT_EQ(textFromPath(path), text);
}

TEST_F(TextEncodingPathTest, FileCreatedWithConvertedNameIsFoundUnderTheSameText) {
    const std::string name = "Sc\xE8ne d\x92\xE9t\xE9 \x80.scn";  // Scène d’été €.scn
    const std::filesystem::path file = folder_ / pathFromText(name);
    { std::ofstream(file) << "x"; }
    ASSERT_TRUE(std::filesystem::exists(file));
    int found = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        EXPECT_EQ(textFromPath(entry.path().filename()), name);
        ++found;
    }
    EXPECT_EQ(found, 1);
}

TEST_F(TextEncodingPathTest, NativeNamesOutsideTheCodePageGetReplacements) {
    const std::filesystem::path path(u8"\u65E5\u672C-\u00E9.txt");
    EXPECT_EQ(textFromPath(path), "?\?-\xE9.txt");
    // A hole in the text cannot survive the trip to UTF-8 and back.
    EXPECT_EQ(textFromPath(pathFromText("a\x81" "b")), "a?b");
}

}  // namespace
}  // namespace morvanex
