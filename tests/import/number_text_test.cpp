// The number readers of the OBJ and COLLADA texts: their fast paths must
// give exactly what the general reader gives.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <string>
#include <vector>

#include "import/collada_document.h"
#include "import/text_scan.h"

namespace morvanex {
namespace {

// Forms that sit on the edges of the fast paths: 24-bit mantissas, ten
// decimals, halfway cases, long digit runs, exponents, signs.
const std::vector<std::string> kTrickyFloats = {
    "0", "-0", "0.0", "-0.000000", "12", "0.013000", "-0.013000", "0.1", "0.2", "0.3", "0.30000001", "2.5", ".5", "5.",
    "-.75", "16777216", "16777217", "16777218", "-16777217", "16777216.5", "1677721.65", "8388609.5", "33554431",
    "0.0000000001", "0.00000000015", "1234567.891", "9.999999", "9.9999999", "0.000001", "7.0000005",
    "0.1234567890", "0.12345678901", "1.00000005960464477539", "1.0000000596046448", "3.4028235", "1e-3",
    "1.5E+2", "-2.5e-7", "3.4028234e38", "1.17549435e-38", "1.4e-45", "123456789012345678", "1234567890123456789",
    "12345678901234567890", "0000000000000000000001.5", "0.50000000000000000001", "4503599627370497.5", "999999.9999",
};

float general(const std::string& text) { return std::strtof(text.c_str(), nullptr); }

TEST(NumberText, ObjNumbersMatchTheGeneralReader) {
    for (const std::string& text : kTrickyFloats) {
        for (const std::string& after : {std::string(), std::string(" 1"), std::string("\r")}) {
            const std::string line = "  " + text + after;
            const char* p = line.data();
            float value = -1.0f;
            ASSERT_TRUE(scan::number(p, line.data() + line.size(), value)) << text;
            EXPECT_EQ(std::bit_cast<std::uint32_t>(value), std::bit_cast<std::uint32_t>(general(text))) << text;
            EXPECT_EQ(p, line.data() + 2 + text.size()) << text;
        }
    }
}

TEST(NumberText, ObjNumbersReadAheadOfTheLineEndMatchTheLineAlone) {
    // The OBJ parser lets the readers look past a line's end into the next
    // line; what they read and where they stop must not change.
    const std::string next = "\n12345678901234567890 0.5";
    for (const std::string& text : kTrickyFloats) {
        const std::string line = " " + text + next;
        const char* end = line.data() + 1 + text.size();
        const char* ahead = line.data();
        const char* alone = line.data();
        float read = -1.0f, expected = -1.0f;
        ASSERT_EQ(scan::number(ahead, end, line.data() + line.size(), read), scan::number(alone, end, expected));
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read), std::bit_cast<std::uint32_t>(expected)) << text;
        EXPECT_EQ(ahead, alone) << text;
    }
    for (const std::string text : {"0", "7", "1234567", "12345678", "123456789", "2147483648", "-3", "+12", "-"}) {
        const std::string line = text + next;
        const char* end = line.data() + text.size();
        const char* ahead = line.data();
        const char* alone = line.data();
        std::int32_t read = -1, expected = -1;
        ASSERT_EQ(scan::integer(ahead, end, line.data() + line.size(), read), scan::integer(alone, end, expected));
        EXPECT_EQ(read, expected) << text;
        EXPECT_EQ(ahead, alone) << text;
    }
}

TEST(NumberText, ScaledDecimalsRoundLikeADivision) {
    // Every mantissa of the fast path, in a stride that leaves the test
    // quick but crosses every exponent of the results.
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    for (int decimals = 0; decimals <= 10; ++decimals) {
        int wrong = 0;
        for (std::uint64_t m = 0; m <= (std::uint64_t{1} << 24); m += 13) {
            wrong += scan::detail::scaledDecimal(m, decimals) != static_cast<float>(m) / kPowers[decimals] ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0) << decimals;
    }
}

std::vector<float> colladaFloats(const std::string& text, std::size_t limit = SIZE_MAX) {
    pugi::xml_document xml;
    xml.load_string(("<a>" + text + "</a>").c_str());
    return collada::floatList(xml.child("a"), limit);
}

std::vector<std::int32_t> colladaInts(const std::string& text) {
    pugi::xml_document xml;
    xml.load_string(("<a>" + text + "</a>").c_str());
    return collada::intList(xml.child("a"));
}

TEST(NumberText, ColladaFloatListsMatchTheGeneralReader) {
    std::string text;
    std::vector<std::uint32_t> expected;
    const char* separators[] = {" ", "\n", "\t", "\r\n  "};
    for (std::size_t i = 0; i < kTrickyFloats.size(); ++i) {
        text += kTrickyFloats[i] + separators[i % 4];
        expected.push_back(std::bit_cast<std::uint32_t>(general(kTrickyFloats[i])));
    }
    const std::vector<float> read = colladaFloats(text);
    ASSERT_EQ(read.size(), expected.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(read[i]), expected[i]) << kTrickyFloats[i];
    }
}

TEST(NumberText, ColladaListsEndAtTheFirstWordThatIsNoNumber) {
    struct Case {
        std::string text;
        std::size_t limit;
        std::vector<float> expected;
    };
    const Case cases[] = {
        {"1 2.5 +3 4", SIZE_MAX, {1.0f, 2.5f}},    // no '+' sign
        {"1 2x 3", SIZE_MAX, {1.0f, 2.0f}},        // "x" is the next word
        {"1e39 -1e-50 7", SIZE_MAX, {0.0f, 0.0f, 7.0f}},  // out of range: 0, and the list goes on
        {"1 2 3 4", 2, {1.0f, 2.0f}},
        {"   ", SIZE_MAX, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(colladaFloats(c.text, c.limit), c.expected) << c.text;

    EXPECT_EQ(colladaInts("0 12 -7 +3 4"), (std::vector<std::int32_t>{0, 12, -7}));
    EXPECT_EQ(colladaInts("5 2.5 6"), (std::vector<std::int32_t>{5, 2}));
    // Past 32 bits a value is out of every list's range; past 64 bits it
    // has always read as 0.
    EXPECT_EQ(colladaInts("99999999999 -99999999999 -2147483648 99999999999999999999 1"),
              (std::vector<std::int32_t>{INT32_MAX, INT32_MIN, INT32_MIN, 0, 1}));
    EXPECT_EQ(colladaInts("9223372036854775807 -9223372036854775808 -9223372036854775809"),
              (std::vector<std::int32_t>{INT32_MAX, INT32_MIN, 0}));
}

}  // namespace
}  // namespace morvanex
