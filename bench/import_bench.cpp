// Importing a mesh of one million triangles with positions, texture
// coordinates and normals, as OBJ and as COLLADA, from the page cache,
// beside a raw read of the OBJ file; and OBJ files as exporters write them:
// hundreds of objects of quads and larger polygons, and groups whose
// material changes every few faces. The "bytes_per_second" counters make
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

// 489 objects, each a flat grid of 32 x 32 cells with its own entries,
// written as quads except every fourth pair of cells, written as one hexagon.
constexpr int kObjects = 489;
constexpr int kObjectCells = 32;

const fs::path& objectsFile() {
    static const fs::path path = [] {
        const fs::path p = benchFolder() / "objects.obj";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        constexpr int side = kObjectCells + 1;
        int base = 1;  // the first entry of the current object, as written
        for (int o = 0; o < kObjects; ++o) {
            std::fprintf(f, "o piece_%d\n", o);
            for (int j = 0; j < side; ++j) {
                for (int i = 0; i < side; ++i) {
                    std::fprintf(f, "v %.6f %.6f %.6f\n", static_cast<float>(i) * 0.031f + static_cast<float>(o % 23),
                                 static_cast<float>(j) * 0.029f + static_cast<float>(o / 23), 0.125f * static_cast<float>(o % 5));
                    std::fprintf(f, "vt %.6f %.6f\n", static_cast<float>(i) / kObjectCells, static_cast<float>(j) / kObjectCells);
                    std::fprintf(f, "vn 0.000000 0.000000 1.000000\n");
                }
            }
            const auto at = [&](int i, int j) { return base + j * side + i; };
            const auto face = [f](std::initializer_list<int> corners) {
                std::fprintf(f, "f");
                for (const int k : corners) std::fprintf(f, " %d/%d/%d", k, k, k);
                std::fprintf(f, "\n");
            };
            for (int j = 0; j < kObjectCells; ++j) {
                for (int i = 0; i < kObjectCells; ++i) {
                    if (i % 8 != 0) {
                        face({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
                        continue;
                    }
                    face({at(i, j), at(i + 1, j), at(i + 2, j), at(i + 2, j + 1), at(i + 1, j + 1), at(i, j + 1)});
                    ++i;
                }
            }
            base += side * side;
        }
        std::fclose(f);
        return p;
    }();
    return path;
}

// The grid of the one-mesh case in quads, in groups of 50 rows whose
// material changes every 64 faces among six, going back to earlier ones.
const fs::path& materialsFile() {
    static const fs::path path = [] {
        const fs::path p = benchFolder() / "materials.obj";
        std::FILE* f = std::fopen(p.c_str(), "wb");
        std::fprintf(f, "mtllib materials.mtl\n");
        for (int j = 0; j < kVerticesY; ++j) {
            for (int i = 0; i < kVerticesX; ++i) {
                const Vertex v = gridVertex(i, j);
                std::fprintf(f, "v %.6f %.6f %.6f\nvt %.6f %.6f\nvn %.6f %.6f %.6f\n", v.x, v.y, v.z, v.u, v.v, v.nx,
                             v.ny, v.nz);
            }
        }
        int faces = 0;
        for (int j = 0; j < kCellsY; ++j) {
            if (j % 50 == 0) std::fprintf(f, "g band_%d\n", j / 50);
            for (int i = 0; i < kCellsX; ++i, ++faces) {
                if (faces % 64 == 0) std::fprintf(f, "usemtl colour_%d\n", (faces / 64) % 6);
                const int a = vertexIndex(i, j) + 1, b = vertexIndex(i + 1, j) + 1, c = vertexIndex(i + 1, j + 1) + 1,
                          d = vertexIndex(i, j + 1) + 1;
                std::fprintf(f, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, c, c, c, d, d, d);
            }
        }
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

// Files of many objects: "objects" and "triangles" count what all of them hold.
void importMany(benchmark::State& state, const fs::path& file) {
    ImportOptions options;
    options.threads = static_cast<unsigned>(state.range(0));
    std::size_t objects = 0, triangles = 0;
    for (auto _ : state) {
        ImportResult r = importObj(file, options);
        objects = r.objects.size();
        triangles = 0;
        for (const auto& object : r.objects) triangles += object->indices.size() / 3;
        benchmark::DoNotOptimize(r.objects.data());
    }
    setThroughput(state, file);
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["triangles"] = static_cast<double>(triangles);
    reportPeak(state);
}

void ObjImportObjects(benchmark::State& state) { importMany(state, objectsFile()); }
void ObjImportMaterials(benchmark::State& state) { importMany(state, materialsFile()); }

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
BENCHMARK(ObjImportObjects)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(ObjImportMaterials)->Arg(2)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
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
