// The label files: line splitting, damaged and missing files, lookup across
// the two languages, and the files the build puts beside the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "base/trace_log.h"
#include "platform/system_folders.h"
#include "ui/label_files.h"
#include "ui/label_numbers.h"

namespace morvanex {
namespace {

std::vector<std::string> linesOf(std::string_view bytes) {
    std::vector<std::string> table;
    appendLabelLines(bytes, table);
    return table;
}

TEST(LabelLines, EndsOfLineAndUnfinishedLastLine) {
    using Lines = std::vector<std::string>;
    const struct { std::string_view bytes; Lines entries; } cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a"}},                       // no line end after b: not an entry
        {"a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a\rb\r", {"a", "b"}},                // a lone CR ends a line and keeps the next byte
        {"\n\n", {"", ""}},
        {"", {}},
        {"caf\xE9\r\n", {"caf\xE9"}},          // bytes are kept as they are
    };
    for (const auto& c : cases) EXPECT_EQ(linesOf(c.bytes), c.entries) << testing::PrintToString(std::string(c.bytes));
}

TEST(LabelLines, OverlongLinesAreCutToTheLimit) {
    std::vector<std::string> table;
    const std::string bytes = std::string(kLabelLineLimit + 5, 'x') + "\nb\n";
    EXPECT_EQ(appendLabelLines(bytes, table), 1u);
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0], std::string(kLabelLineLimit, 'x'));
    EXPECT_EQ(table[1], "b");
}

class LabelFolderTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("morvanex_labels_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    void write(const char* name, std::string_view bytes) {
        std::ofstream(folder_ / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string trace() const {
        std::ifstream in(folder_ / kTraceFileName, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path folder_;
};

TEST_F(LabelFolderTest, MissingFileLeavesTheTableAsItWas) {
    std::vector<std::string> table{"kept"};
    EXPECT_FALSE(loadLabels(folder_ / "absent.txt", table).empty());
    EXPECT_EQ(table, std::vector<std::string>{"kept"});
    write("more.txt", "a\r\nb\r\n");
    EXPECT_EQ(loadLabels(folder_ / "more.txt", table), "");
    EXPECT_EQ(table, (std::vector<std::string>{"kept", "a", "b"}));
}

// French holds 0..3, English only 0..1 and no file at all in the second case.
TEST_F(LabelFolderTest, LookupIsBoundedByBothTablesAndFollowsTheLanguage) {
    write(kFrenchLabelFileName, "v\r\nOui\r\nNon\r\nOui\r\n");
    write(kEnglishLabelFileName, "v\nYes\n");
    const TraceLog log(folder_ / kTraceFileName);
    LabelTable labels = loadLabelTables(folder_, languageFromLocale(true), log);
    EXPECT_EQ(trace(), "");
    EXPECT_EQ(labels.language, Language::French);
    EXPECT_EQ(labels.findFrench("Oui"), 1);  // the first of two equal entries

    std::string text = "Oui";
    refreshLabel(labels, 1, text);
    EXPECT_EQ(text, "Oui");
    labels.language = Language::English;  // switched at run time
    refreshLabel(labels, 1, text);
    EXPECT_EQ(text, "Yes");
    text = "Non";
    refreshLabel(labels, 2, text);  // within French, past English
    EXPECT_EQ(text, "Non");
    refreshLabel(labels, 4, text);  // past both, whatever the language
    labels.language = Language::French;
    refreshLabel(labels, 4, text);
    EXPECT_EQ(text, "Non");

    std::filesystem::remove(folder_ / kEnglishLabelFileName);
    const LabelTable frenchOnly = loadLabelTables(folder_, languageFromLocale(false), log);
    EXPECT_EQ(frenchOnly.language, Language::English);
    EXPECT_FALSE(frenchOnly.has(1));
    EXPECT_NE(trace().find(kEnglishLabelFileName), std::string::npos) << trace();
}

// The files the build wrote beside this program.
TEST(GeneratedLabelFiles, EveryUsedNumberHasATextInBothLanguages) {
    const std::filesystem::path folder = executableFolder();
    std::vector<std::string> french;
    std::vector<std::string> english;
    ASSERT_EQ(loadLabels(folder / kFrenchLabelFileName, french), "");
    ASSERT_EQ(loadLabels(folder / kEnglishLabelFileName, english), "");
    EXPECT_EQ(french.size(), english.size());
    LabelTable labels(french, english);
    for (const int number : label::kUsedLabelNumbers) {
        ASSERT_TRUE(labels.has(number)) << number;
        labels.language = Language::French;
        const std::string frenchText = labels.text(number);
        EXPECT_FALSE(frenchText.empty()) << number;
        // A widget finds its number again from the French text: the entry
        // it finds must show the same English text.
        const int found = labels.findFrench(frenchText);
        labels.language = Language::English;
        EXPECT_FALSE(labels.text(number).empty()) << number;
        EXPECT_EQ(labels.text(found), labels.text(number)) << number << " found as " << found;
    }
    // Windows-1252 bytes, not UTF-8.
    labels.language = Language::French;
    EXPECT_EQ(labels.text(label::kSettingsLightsTab), "Lumi\xE8res");
    EXPECT_EQ(labels.text(label::kTopBarQuitButton), "Quitter");
}

}  // namespace
}  // namespace morvanex
