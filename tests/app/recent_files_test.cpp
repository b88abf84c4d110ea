// The recent-file list "recents.txt", thumbnail sizes and the file panel's
// scene lists gathered on the loader thread.
#include "app/recent_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <vector>

#include "app/test_support.h"
#include "base/text_encoding.h"

namespace morvanex {
namespace {

namespace fs = std::filesystem;
using Outcome = RecentUpdate::Outcome;
using Lines = std::vector<std::string>;

// The document and examples folders of one test, under a fresh root.
struct RecentFixture {
    test::TempFolder root;
    fs::path documents = root / "documents" / "Morvanexv4";
    fs::path examples = root / "program" / "exemples";
    fs::path listFile = documents / kRecentListFileName;

    // A scene file under the root (made with its folders); its path as a text.
    std::string makeScene(const fs::path& relative, std::string_view bytes = "scene") const {
        const fs::path file = root / relative;
        fs::create_directories(file.parent_path());
        test::writeBytes(file, bytes);
        return textFromPath(file);
    }
    std::string text(const fs::path& relative) const { return textFromPath(root / relative); }

    RecentUpdate add(std::string_view pathText) const { return addRecentFile(documents, examples, pathText); }
    std::string listBytes() const { return test::readBytes(listFile); }
};

std::vector<std::string> readLines(std::string_view bytes) {
    std::istringstream in{std::string(bytes)};
    std::vector<std::string> lines;
    while (auto line = readListLine(in)) lines.push_back(*line);
    return lines;
}

std::vector<std::string> paths(const std::vector<SceneEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& entry : entries) out.push_back(entry.path);
    return out;
}

std::vector<std::string> captions(const std::vector<SceneEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& entry : entries) out.push_back(entry.caption);
    return out;
}

// A BMP header with a 40-byte information header: width and height only.
std::string bmpHeader(std::int32_t width, std::int32_t height) {
    std::string bytes(54, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    const auto put = [&](std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(14, 40);
    put(18, static_cast<std::uint32_t>(width));
    put(22, static_cast<std::uint32_t>(height));
    return bytes;
}

// ---- Lines ------------------------------------------------------------------

TEST(RecentListLines, EndAtCrLfLoneLfOrLoneCrAndAreNeverCut) {
    EXPECT_EQ(readLines(""), Lines{});
    EXPECT_EQ(readLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(readLines("a\nb\n"), (Lines{"a", "b"}));      // files written elsewhere
    EXPECT_EQ(readLines("a\rb"), (Lines{"a", "b"}));        // a lone CR ends the line too
    EXPECT_EQ(readLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(readLines("last"), Lines{"last"});             // no end of line at the end of the file
    EXPECT_EQ(readLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF then CR: two ends

    const std::string longLine(300, 'x');
    EXPECT_EQ(readLines(longLine + "\r\n" + "next\r\n"), (Lines{longLine, "next"}));

    // The parser leaves the empty lines out; the format ends each with CR LF.
    EXPECT_EQ(parseListLines("a\r\n\r\n\nb\n"), (Lines{"a", "b"}));
    EXPECT_EQ(formatListLines({"a", "b"}), "a\r\nb\r\n");
    EXPECT_EQ(formatListLines({}), "");
}

// ---- Updating ---------------------------------------------------------------

TEST(RecentList, UpdatePutsTheNewPathFirstAndKeepsOneEntryForIt) {
    EXPECT_EQ(updatedRecentList("b", {"a", "b", "c"}), (Lines{"b", "a", "c"}));
    EXPECT_EQ(updatedRecentList("a", {}), Lines{"a"});
    EXPECT_EQ(updatedRecentList("a", {"a", "", "a"}), Lines{"a"});
    // Compared exactly: two files that differ only in case are two files.
    EXPECT_EQ(updatedRecentList("/s/A.mrx", {"/s/a.mrx"}), (Lines{"/s/A.mrx", "/s/a.mrx"}));

    RecentFixture f;
    const std::string a = f.makeScene("scenes/A.mrx");
    const std::string b = f.makeScene("scenes/b.mrx");
    EXPECT_EQ(f.add(a).outcome, Outcome::Added);  // makes the document folder too
    EXPECT_EQ(f.add(b).outcome, Outcome::Added);
    EXPECT_EQ(f.add(a).outcome, Outcome::Added);
    EXPECT_EQ(f.add(a).outcome, Outcome::Added);  // the same scene twice in a row
    EXPECT_EQ(f.listBytes(), a + "\r\n" + b + "\r\n");
    EXPECT_FALSE(fs::exists(f.listFile.string() + ".saving0"));
}

TEST(RecentList, DeletedFileIsNotShownButStaysInTheFile) {
    RecentFixture f;
    const std::string kept = f.makeScene("scenes/kept.mrx");
    const std::string gone = f.makeScene("scenes/gone.mrx");
    ASSERT_EQ(f.add(gone).outcome, Outcome::Added);
    ASSERT_EQ(f.add(kept).outcome, Outcome::Added);
    fs::remove(pathFromText(gone));

    const RecentFileLists lists = loadRecentFileLists({f.examples, f.documents, {}});
    EXPECT_EQ(paths(lists.recent), Lines{kept});

    const std::string newer = f.makeScene("scenes/newer.mrx");
    ASSERT_EQ(f.add(newer).outcome, Outcome::Added);
    EXPECT_EQ(f.listBytes(), newer + "\r\n" + kept + "\r\n" + gone + "\r\n");
}

TEST(RecentList, LongPathsAndLfOnlyFilesAreReadWhole) {
    RecentFixture f;
    // Over 300 bytes through nested folders (one name may not exceed 255).
    const std::string deep = f.makeScene(fs::path(std::string(120, 'd')) / std::string(120, 'e') /
                                         (std::string(80, 'f') + ".mrx"));
    ASSERT_GT(deep.size(), 300u);
    const std::string shortOne = f.makeScene("s.mrx");
    ASSERT_EQ(f.add(deep).outcome, Outcome::Added);
    ASSERT_EQ(f.add(shortOne).outcome, Outcome::Added);
    EXPECT_EQ(readRecentList(f.listFile).entries, (Lines{shortOne, deep}));
    EXPECT_EQ(paths(loadRecentFileLists({f.examples, f.documents, {}}).recent), (Lines{shortOne, deep}));

    // A list edited by hand with LF endings, its last line unended.
    test::writeBytes(f.listFile, deep + "\n" + shortOne);
    EXPECT_EQ(paths(loadRecentFileLists({f.examples, f.documents, {}}).recent), (Lines{deep, shortOne}));
    const std::string third = f.makeScene("third.mrx");
    ASSERT_EQ(f.add(third).outcome, Outcome::Added);
    EXPECT_EQ(f.listBytes(), third + "\r\n" + deep + "\r\n" + shortOne + "\r\n");  // rewritten with CR LF
}

TEST(RecentList, StartSceneAndExamplesAreNotAdded) {
    RecentFixture f;
    const std::string logo = f.makeScene("data/Morvanexv4/logo.mrx");
    const std::string example = f.makeScene("program/exemples/demo.mrx");
    const std::string deeperExample = f.makeScene("program/exemples/more/demo.mrx");
    EXPECT_EQ(f.add(logo).outcome, Outcome::Skipped);
    EXPECT_EQ(f.add(example).outcome, Outcome::Skipped);
    EXPECT_EQ(f.add(deeperExample).outcome, Outcome::Skipped);
    EXPECT_EQ(f.add(f.text("program/exemples/./x/../demo.mrx")).outcome, Outcome::Skipped);
    EXPECT_EQ(f.add("").outcome, Outcome::Skipped);
    EXPECT_FALSE(fs::exists(f.listFile));  // nothing written for them

    // Names that only look alike are added: a folder sharing the prefix, a
    // scene whose name holds "logo", a start scene name in another case.
    EXPECT_FALSE(belongsInRecentList(textFromPath(f.examples / "a.mrx"), f.examples.string() + "/"));
    const Lines added = {f.makeScene("program/exemples-old/demo.mrx"), f.makeScene("scenes/my_logo.mrx"),
                         f.makeScene("scenes/Logo.mrx"), f.makeScene("program/demo.mrx")};
    for (const auto& path : added) EXPECT_EQ(f.add(path).outcome, Outcome::Added) << path;
    EXPECT_EQ(readRecentList(f.listFile).entries, (Lines{added[3], added[2], added[1], added[0]}));
}

TEST(RecentList, AccentedWindows1252NamesRoundTrip) {
    RecentFixture f;
    fs::create_directories(f.root / "scenes");
    const std::string text = textFromPath(f.root / "scenes") + "/Th\xE9\xE2tre \xE0 No\xEBl.mrx";
    test::writeBytes(pathFromText(text), "scene");
    ASSERT_TRUE(fs::exists(f.root / "scenes" / fs::path(u8"Théâtre à Noël.mrx")));

    ASSERT_EQ(f.add(text).outcome, Outcome::Added);
    EXPECT_EQ(f.listBytes(), text + "\r\n");  // the program's bytes, not UTF-8
    EXPECT_FALSE(test::containsUtf8MultiByteSequence(f.listBytes()));

    const RecentFileLists lists = loadRecentFileLists({f.examples, f.documents, {}});
    ASSERT_EQ(lists.recent.size(), 1u);
    EXPECT_EQ(lists.recent[0].path, text);
    EXPECT_EQ(lists.recent[0].caption, "Th\xE9\xE2tre \xE0 No\xEBl.mrx");
    EXPECT_EQ(f.add(text).outcome, Outcome::Added);
    EXPECT_EQ(f.listBytes(), text + "\r\n");  // recognised as the same entry
}

TEST(RecentList, FailedWriteNeverLosesTheOldList) {
    RecentFixture f;
    const std::string a = f.makeScene("a.mrx");
    const std::string b = f.makeScene("b.mrx");
    ASSERT_EQ(f.add(a).outcome, Outcome::Added);
    const std::string before = f.listBytes();

    {  // something else holds the first temporary name: it is left alone and another name used
        const fs::path blocker = f.listFile.string() + ".saving0";
        fs::create_directories(blocker / "inside");
        const RecentUpdate update = f.add(b);
        EXPECT_EQ(update.outcome, Outcome::Added) << update.error;
        EXPECT_TRUE(fs::is_directory(blocker / "inside"));
        EXPECT_FALSE(fs::exists(f.listFile.string() + ".saving1"));
        fs::remove_all(blocker);
        EXPECT_EQ(f.add(a).outcome, Outcome::Added);  // back to the list as it was
        EXPECT_NE(f.listBytes(), before);  // b stays listed second
    }
    {  // the list is not a file: it cannot be read, so it is not overwritten
        fs::remove(f.listFile);
        fs::create_directories(f.listFile / "inside");
        const RecentUpdate update = f.add(b);
        EXPECT_EQ(update.outcome, Outcome::Failed);
        EXPECT_FALSE(update.error.empty());
        EXPECT_TRUE(fs::is_directory(f.listFile / "inside"));
        EXPECT_FALSE(fs::exists(f.listFile.string() + ".saving0"));
        fs::remove_all(f.listFile);
    }
    {  // the rename fails (a folder stands where the list goes): the temporary file goes away
        fs::create_directories(f.listFile);
        std::string error;
        EXPECT_FALSE(replaceFileSafely(f.listFile, "new\r\n", &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(fs::is_directory(f.listFile));
        EXPECT_FALSE(fs::exists(f.listFile.string() + ".saving0"));
        fs::remove(f.listFile);
    }
    test::writeBytes(f.listFile, before);  // the list as it was before the folder took its place
    if (::geteuid() != 0) {  // a read-only folder stops everyone but the superuser
        fs::permissions(f.documents, fs::perms::owner_read | fs::perms::owner_exec);
        const RecentUpdate update = f.add(b);
        fs::permissions(f.documents, fs::perms::owner_all);
        EXPECT_EQ(update.outcome, Outcome::Failed);
        EXPECT_EQ(f.listBytes(), before);
    }
    {  // the document folder cannot be made: a file is in the way
        RecentFixture g;
        fs::create_directories(g.documents.parent_path());
        test::writeBytes(g.documents, "file");
        EXPECT_EQ(g.add(g.makeScene("a.mrx")).outcome, Outcome::Failed);
        EXPECT_EQ(test::readBytes(g.documents), "file");
    }
    // And once the way is clear the old list is still there to be extended.
    ASSERT_EQ(f.add(b).outcome, Outcome::Added);
    EXPECT_EQ(f.listBytes(), b + "\r\n" + before);
}

// ---- Thumbnails -------------------------------------------------------------

TEST(Thumbnail, FitsOneHundredKeepingProportions) {
    EXPECT_EQ(fitThumbnail({200, 100}), (ImageSize{100, 50}));
    EXPECT_EQ(fitThumbnail({50, 400}), (ImageSize{13, 100}));  // 12.5 rounds up
    EXPECT_EQ(fitThumbnail({49, 400}), (ImageSize{12, 100}));  // 12.25 rounds down
    EXPECT_EQ(fitThumbnail({300, 200}), (ImageSize{100, 67}));
    EXPECT_EQ(fitThumbnail({80, 60}), (ImageSize{80, 60}));     // small images are kept
    EXPECT_EQ(fitThumbnail({100, 100}), (ImageSize{100, 100}));
    EXPECT_EQ(fitThumbnail({101, 100}), (ImageSize{100, 99}));
    EXPECT_EQ(fitThumbnail({5000, 1}), (ImageSize{100, 1}));   // never below one pixel
    EXPECT_EQ(fitThumbnail({1, 100000}), (ImageSize{1, 100}));
    EXPECT_EQ(fitThumbnail({2000000000, 2000000000}), (ImageSize{100, 100}));  // no overflow

    EXPECT_EQ(fitThumbnail({0, 0}), (ImageSize{0, 0}));
    EXPECT_EQ(fitThumbnail({0, 500}), (ImageSize{0, 100}));
    EXPECT_EQ(fitThumbnail({-5, 50}), (ImageSize{0, 50}));
    EXPECT_EQ(fitThumbnail({-500, 200}), (ImageSize{0, 100}));
}

TEST(Thumbnail, SizeReadFromTheBmpHeader) {
    test::TempFolder root;
    test::writeBytes(root / "wide.bmp", bmpHeader(200, 100));
    test::writeBytes(root / "topdown.bmp", bmpHeader(30, -40));
    std::string os2(26, '\0');
    os2[0] = 'B';
    os2[1] = 'M';
    os2[14] = 12;
    os2[18] = 0x2C;  // 300
    os2[19] = 0x01;
    os2[20] = 20;
    test::writeBytes(root / "os2.bmp", os2);
    test::writeBytes(root / "short.bmp", bmpHeader(200, 100).substr(0, 20));
    test::writeBytes(root / "png.bmp", "\x89PNG\r\n\x1a\n-------------------------");

    EXPECT_EQ(bmpImageSize(root / "wide.bmp"), (ImageSize{200, 100}));
    EXPECT_EQ(bmpImageSize(root / "topdown.bmp"), (ImageSize{30, 40}));
    EXPECT_EQ(bmpImageSize(root / "os2.bmp"), (ImageSize{300, 20}));
    EXPECT_FALSE(bmpImageSize(root / "short.bmp").has_value());
    EXPECT_FALSE(bmpImageSize(root / "png.bmp").has_value());
    EXPECT_FALSE(bmpImageSize(root / "missing.bmp").has_value());
}

// ---- The loader -------------------------------------------------------------

TEST(RecentFilesLoader, ListsExamplesRecentAndOwnScenes) {
    RecentFixture f;
    for (const char* name : {"b.3ds", "a.MRX", "c.Tut", "d.obj", "e.txt", "noext", "a.MRX.bmp"}) {
        f.makeScene(fs::path("program/exemples") / name);
    }
    fs::create_directories(f.examples / "folder.mrx");  // folders are skipped
    f.makeScene("program/exemples/sub/inner.mrx");      // and not entered

    for (const char* name : {"x.mrx", "y.OBJ", "z.3DS", "w.tut", "v.dae", "x.mrx.bmp", "notes.txt"}) {
        f.makeScene(fs::path("documents/Morvanexv4") / name);
    }
    test::writeBytes(f.documents / "z.3DS.bmp", bmpHeader(400, 200));
    fs::create_directories(f.documents / "Archive");
    fs::create_directories(f.documents / "dir.mrx");
    const std::string elsewhere = f.makeScene("elsewhere/far.obj");
    ASSERT_EQ(f.add(elsewhere).outcome, Outcome::Added);

    const RecentFileLists lists = loadRecentFileLists({f.examples, f.documents, {}});
    EXPECT_EQ(captions(lists.examples), (Lines{"a.MRX", "b.3ds", "c.Tut"}));
    EXPECT_EQ(lists.examples[0].path, textFromPath(f.examples / "a.MRX"));
    EXPECT_EQ(lists.examples[0].thumbnailPath, textFromPath(f.examples / "a.MRX.bmp"));
    EXPECT_EQ(lists.examples[0].thumbnailSize, (ImageSize{0, 0}));  // not a BMP: size unknown
    EXPECT_EQ(lists.examples[1].thumbnailPath, "");                 // the default thumbnail

    EXPECT_EQ(paths(lists.recent), Lines{elsewhere});
    EXPECT_EQ(lists.recent[0].caption, "far.obj");

    EXPECT_EQ(captions(lists.own), (Lines{"w.tut", "x.mrx", "y.OBJ", "z.3DS"}));
    EXPECT_EQ(lists.own[1].thumbnailPath, textFromPath(f.documents / "x.mrx.bmp"));
    EXPECT_EQ(lists.own[3].thumbnailPath, textFromPath(f.documents / "z.3DS.bmp"));
    EXPECT_EQ(lists.own[3].thumbnailSize, (ImageSize{100, 50}));
    EXPECT_EQ(lists.own[0].thumbnailPath, "");
}

TEST(RecentFilesLoader, MissingFoldersGiveEmptyLists) {
    RecentFixture f;
    const RecentFileLists lists = loadRecentFileLists({f.examples, f.documents, {}});
    EXPECT_TRUE(lists.examples.empty());
    EXPECT_TRUE(lists.recent.empty());
    EXPECT_TRUE(lists.own.empty());
}

TEST(RecentFilesLoader, RunsOnItsOwnThreadAndSetsDoneLast) {
    RecentFixture f;
    f.makeScene("program/exemples/demo.mrx");
    f.makeScene("program/exemples/demo.mrx.bmp");
    f.makeScene("documents/Morvanexv4/mine.mrx");

    RecentFilesLoader loader;
    EXPECT_FALSE(loader.done());
    EXPECT_FALSE(loader.started());
    EXPECT_TRUE(loader.waitUntilDone().examples.empty());  // nothing started: nothing to wait for

    // The image hook holds the loader back until the test lets it go: the
    // flag must not be set while the lists are still being gathered.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<std::thread::id> hookThread;
    RecentFilesSources sources{f.examples, f.documents, {}};
    sources.loadThumbnailImage = [released, &hookThread](SceneEntry& entry) {
        hookThread.set_value(std::this_thread::get_id());
        released.wait();
        entry.thumbnailSize = {1, 1};
    };
    ASSERT_TRUE(loader.start(sources));
    EXPECT_TRUE(loader.started());
    EXPECT_FALSE(loader.start(sources));  // once only

    auto hookThreadId = hookThread.get_future();
    ASSERT_EQ(hookThreadId.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_NE(hookThreadId.get(), std::this_thread::get_id());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(loader.done());
    release.set_value();

    const RecentFileLists& lists = loader.waitUntilDone();
    EXPECT_TRUE(loader.done());
    ASSERT_EQ(lists.examples.size(), 1u);
    EXPECT_EQ(lists.examples[0].thumbnailSize, (ImageSize{1, 1}));  // the hook ran on the entry
    EXPECT_EQ(captions(lists.own), Lines{"mine.mrx"});
    EXPECT_EQ(&loader.waitUntilDone(), &lists);  // waiting again returns at once
}

TEST(RecentFilesLoader, DoneIsSeenWithoutWaitingAndTheDestructorJoins) {
    RecentFixture f;
    f.makeScene("documents/Morvanexv4/mine.mrx");
    {
        RecentFilesLoader loader;
        ASSERT_TRUE(loader.start({f.examples, f.documents, {}}));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!loader.done() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(loader.done());
        EXPECT_EQ(captions(loader.waitUntilDone().own), Lines{"mine.mrx"});
    }
    {  // never waited for: going away still ends the thread cleanly
        RecentFilesLoader loader;
        ASSERT_TRUE(loader.start({f.examples, f.documents, {}}));
    }
}

}  // namespace
}  // namespace morvanex
