// The trace log: plain lines, CR LF, appended, the file closed after each.
#include "base/trace_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "base/test_files.h"

namespace morvanex {
namespace {

using test::readBytes;
using test::TempFolder;

TEST(TraceLog, EachLineEndsWithCrLfAndNothingElseIsAdded) {
    TempFolder temp;
    const TraceLog trace(temp / kTraceFileName);
    trace.line("first");
    EXPECT_EQ(readBytes(temp / "trace.txt"), "first\r\n");
    trace.line("second line");
    trace.line("");
    EXPECT_EQ(readBytes(temp / "trace.txt"), "first\r\nsecond line\r\n\r\n");
}

TEST(TraceLog, AppendsToWhatTheFileHeld) {
    TempFolder temp;
    test::writeBytes(temp / "trace.txt", "earlier run\r\n");
    const TraceLog trace(temp / "trace.txt");
    trace.line("this run");
    EXPECT_EQ(readBytes(temp / "trace.txt"), "earlier run\r\nthis run\r\n");
}

TEST(TraceLog, BytesAreWrittenAsGiven) {
    TempFolder temp;
    const TraceLog trace(temp / "trace.txt");
    trace.line("Fichier \"sc\xE8ne \xE9t\xE9.mrx\" introuvable");  // Windows-1252, not UTF-8
    trace.line(std::string_view("a\0b", 3));                    // the view's length, not a C string
    const std::string expected =
        std::string("Fichier \"sc\xE8ne \xE9t\xE9.mrx\" introuvable\r\n") + std::string("a\0b", 3) + "\r\n";
    EXPECT_EQ(readBytes(temp / "trace.txt"), expected);
}

TEST(TraceLog, ResultLineNamesCallAndResult) {
    TempFolder temp;
    const TraceLog trace(temp / "trace.txt");
    trace.result("CreateDevice", "E_FAIL");
    trace.result("CreateSourceVoice", "0x88890008");
    EXPECT_EQ(readBytes(temp / "trace.txt"), "CreateDevice, hr = E_FAIL\r\nCreateSourceVoice, hr = 0x88890008\r\n");
}

TEST(TraceLog, FileIsClosedAfterEachLine) {
    TempFolder temp;
    const std::filesystem::path file = temp / "trace.txt";
    const TraceLog trace(file);
    trace.line("one");
    // Another reader sees the whole line at once.
    EXPECT_EQ(readBytes(file), "one\r\n");

    // Deleted between lines, the file is made again: no handle was kept on
    // the old one.
    ASSERT_TRUE(std::filesystem::remove(file));
    trace.line("two");
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(readBytes(file), "two\r\n");

    // Replaced by another file between lines, the new one is appended to.
    std::filesystem::remove(file);
    test::writeBytes(file, "rotated\r\n");
    trace.line("three");
    EXPECT_EQ(readBytes(file), "rotated\r\nthree\r\n");
}

TEST(TraceLog, UnwritablePathLosesTheLineSilently) {
    TempFolder temp;
    const std::filesystem::path missingFolder = temp / "no such folder";
    const TraceLog trace(missingFolder / "trace.txt");
    EXPECT_NO_THROW(trace.line("lost"));
    EXPECT_NO_THROW(trace.result("CreateDevice", "E_FAIL"));
    // The folder is not made for it.
    EXPECT_FALSE(std::filesystem::exists(missingFolder));

    // A folder in the file's place cannot be appended to either.
    std::filesystem::create_directory(temp / "trace.txt");
    const TraceLog onFolder(temp / "trace.txt");
    EXPECT_NO_THROW(onFolder.line("lost too"));
    EXPECT_TRUE(std::filesystem::is_directory(temp / "trace.txt"));
}

// Runs the body with the current folder set to `folder`, then goes back.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolder() {
        std::error_code error;
        std::filesystem::current_path(previous_, error);
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    std::filesystem::path previous_;
};

TEST(TraceLog, DefaultLogWritesNothing) {
    TempFolder temp;
    const TraceLog trace;
    EXPECT_TRUE(trace.path().empty());
    {
        // A log with no path must not fall back to a file of the current folder.
        const CurrentFolder here(temp.path());
        EXPECT_NO_THROW(trace.line("nowhere"));
        EXPECT_NO_THROW(trace.result("CreateDevice", "E_FAIL"));
    }
    EXPECT_TRUE(test::folderIsEmpty(temp.path()));
}

TEST(TraceLog, KeepsItsPath) {
    const std::filesystem::path where = "/some/folder/trace.txt";
    EXPECT_EQ(TraceLog(where).path(), where);
    EXPECT_STREQ(kTraceFileName, "trace.txt");
}

}  // namespace
}  // namespace morvanex
