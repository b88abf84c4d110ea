// Reading and writing a scene of one million triangles from the page cache,
// beside a raw read and write of the same number of bytes. The counters
// "MB/s" make the two comparable; the ratio is printed at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include <unistd.h>

#include "scene/scene.h"
#include "scenefile/scene_reader.h"
#include "scenefile/scene_writer.h"

namespace {

using namespace morvanex;
namespace fs = std::filesystem;

constexpr std::size_t kTriangles = 1'000'000;

fs::path benchFolder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("morvanex-bench-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

// One mesh of a million triangles, one vertex per corner as the editor keeps them.
void buildBigScene(Scene& scene) {
    SceneObject& mesh = scene.addObject("maillage");
    std::vector<MeshVertex> vertices(kTriangles * 3);
    std::vector<std::int32_t> indices(kTriangles * 3);
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const float f = static_cast<float>(i);
        vertices[i].position = {f, f * 0.5f, -f};
        vertices[i].normal = {0.0f, 1.0f, 0.0f};
        vertices[i].texcoord = {f * 0.001f, 0.5f};
        vertices[i].texcoord2 = vertices[i].texcoord;
        indices[i] = static_cast<std::int32_t>(i);
    }
    mesh.assignMesh(std::move(vertices), std::move(indices));
}

const fs::path& sceneFile() {
    static const fs::path path = [] {
        Scene scene;
        buildBigScene(scene);
        const fs::path p = benchFolder() / "big.mrx";
        writeSceneFile(p, scene, {});
        return p;
    }();
    return path;
}

std::size_t sceneBytes() { return static_cast<std::size_t>(fs::file_size(sceneFile())); }

void setThroughput(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void RawRead(benchmark::State& state) {
    const std::size_t size = sceneBytes();
    for (auto _ : state) {
        auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        std::FILE* f = std::fopen(sceneFile().c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.get(), 1, size, f));
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.get());
    }
    setThroughput(state, size);
}

void SceneRead(benchmark::State& state) {
    const std::size_t size = sceneBytes();
    for (auto _ : state) {
        Scene scene;
        const SceneReadReport report = readSceneFile(sceneFile(), scene, {});
        if (!report.complete()) state.SkipWithError("the scene did not read");
        benchmark::DoNotOptimize(scene.objectCount());
    }
    setThroughput(state, size);
}

// Both writers push their bytes to the disk before renaming, as a safe save does.
void RawWrite(benchmark::State& state) {
    const std::size_t size = sceneBytes();
    std::vector<std::uint8_t> bytes(size, 0x5A);
    const fs::path target = benchFolder() / "raw.bin";
    const fs::path temporary = benchFolder() / "raw.bin.tmp";
    for (auto _ : state) {
        std::FILE* f = std::fopen(temporary.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), f));
        std::fflush(f);
        ::fsync(::fileno(f));
        std::fclose(f);
        fs::rename(temporary, target);
    }
    setThroughput(state, size);
}

void SceneWrite(benchmark::State& state) {
    Scene scene;
    buildBigScene(scene);
    const fs::path target = benchFolder() / "written.mrx";
    std::size_t size = 0;
    for (auto _ : state) {
        const SceneWriteResult result = writeSceneFile(target, scene, {});
        if (!result.ok) state.SkipWithError("the scene did not write");
    }
    size = static_cast<std::size_t>(fs::file_size(target));
    setThroughput(state, size);
}

// The in-memory part of writing alone.
void SceneSerialize(benchmark::State& state) {
    Scene scene;
    buildBigScene(scene);
    std::size_t size = 0;
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = writeScene(scene, {});
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    setThroughput(state, size);
}

BENCHMARK(RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SceneRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RawWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SceneWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SceneSerialize)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(benchFolder(), ignored);
    return 0;
}
