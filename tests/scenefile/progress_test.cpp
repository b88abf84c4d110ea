// The byte progress of writing and reading a scene file: positions that only
// grow and end at the file's size.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

#include "base/test_files.h"
#include "scene/scene.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace morvanex {
namespace {

using Calls = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

ByteProgress recordInto(Calls& calls) {
    return [&calls](std::uint64_t done, std::uint64_t total) { calls.emplace_back(done, total); };
}

void expectGrowingToTheEnd(const Calls& calls, std::uint64_t fileSize, std::size_t atLeast) {
    ASSERT_GE(calls.size(), atLeast);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].second, fileSize);
        if (i > 0) {
            EXPECT_GT(calls[i].first, calls[i - 1].first) << "call " << i;
        }
    }
    EXPECT_EQ(calls.back().first, fileSize);
}

TEST(SceneFileProgress, WriteAndReadReportGrowingPositionsEndingAtTheTotal) {
    // Large enough for the writer to take several steps; several records for the reader.
    Scene scene;
    for (int o = 0; o < 3; ++o) {
        std::vector<MeshVertex> vertices(20'000 * (o + 1));
        std::vector<std::int32_t> indices(vertices.size());
        for (std::size_t i = 0; i < vertices.size(); ++i) {
            vertices[i].position = {static_cast<float>(i), static_cast<float>(o), 0.0f};
            indices[i] = static_cast<std::int32_t>(i);
        }
        scene.addObject("piece" + std::to_string(o)).assignMesh(std::move(vertices), std::move(indices));
    }
    test::TempFolder temp;
    const std::filesystem::path file = temp.path() / "large.mrx";

    Calls written;
    SceneWriteOptions writeOptions;
    writeOptions.progress = recordInto(written);
    ASSERT_TRUE(writeSceneFile(file, scene, writeOptions).ok);
    const std::uint64_t size = std::filesystem::file_size(file);
    ASSERT_GT(size, 3u << 20);
    expectGrowingToTheEnd(written, size, 4);

    Calls read;
    SceneReadOptions readOptions;
    readOptions.progress = recordInto(read);
    Scene back;
    ASSERT_TRUE(readSceneFile(file, back, readOptions).complete());
    expectGrowingToTheEnd(read, size, 3);
}

}  // namespace
}  // namespace morvanex
