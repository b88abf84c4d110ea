// The label table source: its rows become two numbered Windows-1252 tables,
// and every row that would give a wrong or unreadable label is refused.
#include <gtest/gtest.h>

#include "labels/label_source.h"

namespace morvanex {
namespace {

TEST(LabelSource, RowsBecomeNumberedWindows1252Entries) {
    const LabelSource source = parseLabelSource(
        "# comment\r\n"
        "0\tv4\tv4\tversion\r\n"
        "\n"
        "3\tLumi\xC3\xA8res\tLights\n"
        "4\t\xC5\x92uvre \xE2\x82\xAC\tWork\t\n");
    ASSERT_TRUE(source.errors.empty()) << source.errors.front();
    EXPECT_EQ(source.french, (std::vector<std::string>{"v4", "", "", "Lumi\xE8res", "\x8Cuvre \x80"}));
    EXPECT_EQ(source.english, (std::vector<std::string>{"v4", "", "", "Lights", "Work"}));
    EXPECT_EQ(labelFileBytes(source.english), "v4\r\n\r\n\r\nLights\r\nWork\r\n");
}

TEST(LabelSource, RefusesRowsThatWouldGiveWrongLabels) {
    const struct { const char* row; const char* why; } cases[] = {
        {"1\tfl\xE2\x86\x92" "che\tarrow\n", "U+2192"},                  // no Windows-1252 byte
        {"1\tmal\xC3\tbad\n", "malformed"},
        {"1\tOui\tYes\n1\tNon\tNo\n", "does not follow"},
        {"x\tOui\tYes\n", "bad label number"},
        {"99999\tOui\tYes\n", "bad label number"},
        {"1\tOui\n", "tabs"},
        {"1\tAnnuler\tCancel\n2\tAnnuler\tUndo\n", "repeats the French text of label 1"},
    };
    for (const auto& c : cases) {
        const LabelSource source = parseLabelSource(c.row);
        ASSERT_EQ(source.errors.size(), 1u) << c.row;
        EXPECT_NE(source.errors.front().find(c.why), std::string::npos) << source.errors.front();
    }
    const std::string tooLong = "1\t" + std::string(kLongestLabel + 1, 'x') + "\tx\n";
    EXPECT_EQ(parseLabelSource(tooLong).errors.size(), 1u);
    // The same French text twice is fine when the English agrees.
    EXPECT_TRUE(parseLabelSource("1\tAnnuler\tCancel\n2\tAnnuler\tCancel\n").errors.empty());
}

}  // namespace
}  // namespace morvanex
