// Importing a mesh of one million triangles with positions, texture
// coordinates and normals, as OBJ and as COLLADA, from the page cache,
// beside a raw read of the OBJ file. The "bytes_per_second" counters make
// them comparable; "peak_rss_MB" is the process's high-water mark after the
// import ran.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "import/collada_reader.h"
#include "import/obj_reader.h"

namespace {

using namespace morvanex;
namespace fs = std::filesystem;

// A grid of 1000 x 500 cells, two triangles each.
constexpr int kCellsX = 1000;
constexpr int kCellsY = 500;
constexpr int kVerticesX = kCellsX + 1;
constexpr int kVerticesY = kCellsY + 1;

fs::path benchFolder() {
    static const fs::path folder = [] {
        fs::path f = fs::temp_directory_path() / ("morvanex-import-bench-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

struct Vertex {
    float x, y, z, u, v, nx, ny, nz;
};
Vertex gridVertex(int i, int j) {
    const float x = static_cast<float>(i) * 0.013f, y = static_cast<float>(j) * 0.017f;
    const float z = 0.25f * static_cast<float>((i * 7 + j * 3) % 11);
    return {x, y, z, static_cast<float>(i) / kCellsX, static_cast<float>(j) / kCellsY, 0.0f, 0.6f, 0.8f};
}
int vertexIndex(int i, int j) { return j * kVerticesX + i; }

template <typename Corner>
void forEachTriangle(Corner&& corner) {
    for (int j = 0; j < kCellsY; ++j) {
        for (int i = 0; i < kCellsX; ++i) {
            const int a = vertexIndex(i, j), b = vertexIndex(i + 1, j), c = vertexIndex(i + 1, j + 1),
                      d = vertexIndex(i, j + 1);
            corner(a, b, c);
            corner(a, c, d);
        }
    }
}

const fs::path& objFile() {
    static const fs::path path = [] {
        const fs::path p = benchFolder() / "grid.obj";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        std::fprintf(f, "# generated grid\ng grid\n");
        for (int j = 0; j < kVerticesY; ++j) {
            for (int i = 0; i < kVerticesX; ++i) {
                const Vertex v = gridVertex(i, j);
                std::fprintf(f, "v %.6f %.6f %.6f\nvt %.6f %.6f\nvn %.6f %.6f %.6f\n", v.x, v.y, v.z, v.u, v.v, v.nx,
                             v.ny, v.nz);
            }
        }
        forEachTriangle([f](int a, int b, int c) {
            std::fprintf(f, "f %d/%d/%d %d/%d/%d %d/%d/%d\n", a + 1, a + 1, a + 1, b + 1, b + 1, b + 1, c + 1, c + 1,
                         c + 1);
        });
        std::fclose(f);
        return p;
    }();
    return path;
}

const fs::path& colladaFile() {
    static const fs::path path = [] {
        const fs::path p = benchFolder() / "grid.dae";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        const int n = kVerticesX * kVerticesY;
        std::fprintf(f, "<?xml version=\"1.0\"?>\n<COLLADA><library_geometries><geometry id=\"grid\"><mesh>\n");
        const auto array = [&](const char* id, int stride, auto&& value) {
            std::fprintf(f, "<source id=\"%s\"><float_array id=\"%s-a\" count=\"%d\">", id, id, n * stride);
            for (int k = 0; k < n; ++k) {
                const Vertex v = gridVertex(k % kVerticesX, k / kVerticesX);
                value(v);
            }
            std::fprintf(f, "</float_array><technique_common><accessor source=\"#%s-a\" count=\"%d\" stride=\"%d\"/>"
                            "</technique_common></source>\n", id, n, stride);
        };
        array("p", 3, [f](const Vertex& v) { std::fprintf(f, "%.6f %.6f %.6f\n", v.x, v.y, v.z); });
        array("n", 3, [f](const Vertex& v) { std::fprintf(f, "%.6f %.6f %.6f\n", v.nx, v.ny, v.nz); });
        array("t", 2, [f](const Vertex& v) { std::fprintf(f, "%.6f %.6f\n", v.u, v.v); });
        std::fprintf(f, "<vertices id=\"v\"><input semantic=\"POSITION\" source=\"#p\"/></vertices>\n"
                        "<triangles count=\"%d\"><input semantic=\"VERTEX\" source=\"#v\" offset=\"0\"/>"
                        "<input semantic=\"NORMAL\" source=\"#n\" offset=\"1\"/>"
                        "<input semantic=\"TEXCOORD\" source=\"#t\" offset=\"2\"/><p>", 2 * kCellsX * kCellsY);
        forEachTriangle([f](int a, int b, int c) {
            std::fprintf(f, "%d %d %d %d %d %d %d %d %d\n", a, a, a, b, b, b, c, c, c);
        });
        std::fprintf(f, "</p></triangles></mesh></geometry></library_geometries></COLLADA>\n");
        std::fclose(f);
        return p;
    }();
    return path;
}

void setThroughput(benchmark::State& state, const fs::path& file) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(fs::file_size(file)));
    state.counters["file_MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}

void reportPeak(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void RawRead(benchmark::State& state) {
    const std::size_t size = fs::file_size(objFile());
    for (auto _ : state) {
        auto buffer = std::make_unique_for_overwrite<char[]>(size);
        std::FILE* f = std::fopen(objFile().c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(buffer.get(), 1, size, f));
        std::fclose(f);
        benchmark::DoNotOptimize(buffer.get());
    }
    setThroughput(state, objFile());
}

void ObjImport(benchmark::State& state) {
    ImportOptions options;
    options.threads = static_cast<unsigned>(state.range(0));
    std::size_t triangles = 0;
    for (auto _ : state) {
        ImportResult r = importObj(objFile(), options);
        triangles = r.objects.empty() ? 0 : r.objects[0]->indices.size() / 3;
        benchmark::DoNotOptimize(r.objects.data());
    }
    setThroughput(state, objFile());
    state.counters["triangles"] = static_cast<double>(triangles);
    reportPeak(state);
}

void ColladaImport(benchmark::State& state) {
    std::size_t triangles = 0;
    for (auto _ : state) {
        ImportResult r = importCollada(colladaFile());
        triangles = r.objects.empty() ? 0 : r.objects[0]->indices.size() / 3;
        benchmark::DoNotOptimize(r.objects.data());
    }
    setThroughput(state, colladaFile());
    state.counters["triangles"] = static_cast<double>(triangles);
    reportPeak(state);
}

BENCHMARK(RawRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ObjImport)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ColladaImport)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    fs::remove_all(benchFolder(), error);
    return 0;
}
