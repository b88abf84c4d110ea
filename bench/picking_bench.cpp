// Picking under a moving cursor, through the per-object hierarchies and
// through the exhaustive loop in the same run, over one mesh of 1,000,000
// triangles and over 1,000 objects of 1,000 triangles; and the hierarchy
// build for 1,000,000 triangles.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "modeling/mesh_picking.h"
#include "modeling/scene_picking.h"
#include "modeling/triangle_bvh.h"
#include "scene/scene.h"

namespace {

using namespace morvanex;

// A bumpy sphere of rows x columns x 2 triangles, one vertex per corner as
// the system's own meshes are stored.
void makeSphere(SceneObject& object, int rows, int columns, float radius) {
    auto at = [&](int r, int c) {
        const float theta = kPi * static_cast<float>(r) / static_cast<float>(rows);
        const float phi = kTwoPi * static_cast<float>(c) / static_cast<float>(columns);
        const float bump = 1.0f + 0.05f * std::sin(7.0f * theta) * std::cos(5.0f * phi);
        return Vec3{std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)} *
               (radius * bump);
    };
    std::vector<MeshVertex> vertices;
    vertices.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns) * 6);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            for (const Vec3 p : {at(r, c), at(r + 1, c), at(r + 1, c + 1), at(r, c), at(r + 1, c + 1), at(r, c + 1)}) {
                MeshVertex v;
                v.position = p;
                vertices.push_back(v);
            }
        }
    }
    std::vector<std::int32_t> indices(vertices.size());
    for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<std::int32_t>(i);
    object.assignMesh(std::move(vertices), std::move(indices));
}

// Cursor positions along a smooth path over the view, as the pointer moves.
class Cursor {
public:
    explicit Cursor(Vec3 eye) : eye_(eye) {}
    Ray next() {
        const float s = static_cast<float>(step_++) * 0.0137f;
        const Vec3 direction{0.45f * std::sin(1.3f * s), 0.4f * std::sin(1.7f * s + 0.5f), 1.0f};
        return {eye_, direction};
    }

private:
    Vec3 eye_;
    long step_ = 0;
};

constexpr Vec3 kEye{0.0f, 0.0f, -30.0f};

Scene& oneMillionScene() {
    static std::unique_ptr<Scene> scene = [] {
        auto s = std::make_unique<Scene>();
        makeSphere(s->addObject("sphere"), 500, 1000, 10.0f);
        return s;
    }();
    return *scene;
}

Scene& thousandObjectsScene() {
    static std::unique_ptr<Scene> scene = [] {
        auto s = std::make_unique<Scene>();
        std::mt19937 random(7);
        std::uniform_real_distribution<float> angle(-3.0f, 3.0f);
        for (int i = 0; i < 1000; ++i) {
            SceneObject& object = s->addObject("ball");
            makeSphere(object, 20, 25, 1.0f);
            const Vec3 cell{static_cast<float>(i % 10) - 4.5f, static_cast<float>((i / 10) % 10) - 4.5f,
                            static_cast<float>(i / 100)};
            object.worldMatrix = matrixRotationAxis({angle(random), angle(random), 1.0f}, angle(random)) *
                                 matrixTranslation(cell * 3.0f);
        }
        return s;
    }();
    return *scene;
}

template <PickHit (*Pick)(Scene&, const Ray&, const PickRules&)>
void runPicks(benchmark::State& state, Scene& scene) {
    Cursor cursor(kEye);
    Pick(scene, cursor.next(), {});  // hierarchies built before timing
    long hovered = 0;
    for (auto _ : state) {
        const PickHit hit = Pick(scene, cursor.next(), {});
        hovered += hit.hoveredObject != nullptr ? 1 : 0;
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hovered"] = benchmark::Counter(static_cast<double>(hovered), benchmark::Counter::kAvgIterations);
}

PickHit exhaustive(Scene& scene, const Ray& ray, const PickRules& rules) { return pickExhaustive(scene, ray, rules); }

void PickOneMillionTriangles_Hierarchy(benchmark::State& state) { runPicks<pickScene>(state, oneMillionScene()); }
void PickOneMillionTriangles_Exhaustive(benchmark::State& state) { runPicks<exhaustive>(state, oneMillionScene()); }
void PickThousandObjects_Hierarchy(benchmark::State& state) { runPicks<pickScene>(state, thousandObjectsScene()); }
void PickThousandObjects_Exhaustive(benchmark::State& state) { runPicks<exhaustive>(state, thousandObjectsScene()); }

void BuildOneMillionTriangles(benchmark::State& state) {
    const SceneObject& sphere = *oneMillionScene().objects().back();
    const CornerPositions positions(sphere, {});
    const auto threads = static_cast<unsigned>(state.range(0));
    std::size_t nodes = 0;
    for (auto _ : state) {
        TriangleBvh bvh;
        bvh.build(positions, sphere.indices, threads);
        nodes = bvh.nodeCount();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}

void RefitOneMillionTriangles(benchmark::State& state) {
    const SceneObject& sphere = *oneMillionScene().objects().back();
    const CornerPositions positions(sphere, {});
    TriangleBvh bvh;
    bvh.build(positions, sphere.indices, 2);
    for (auto _ : state) {
        bvh.refit(positions, sphere.indices);
        benchmark::DoNotOptimize(bvh.root());
    }
}

BENCHMARK(PickOneMillionTriangles_Hierarchy)->Unit(benchmark::kMicrosecond);
BENCHMARK(PickOneMillionTriangles_Exhaustive)->Unit(benchmark::kMillisecond);
BENCHMARK(PickThousandObjects_Hierarchy)->Unit(benchmark::kMicrosecond);
BENCHMARK(PickThousandObjects_Exhaustive)->Unit(benchmark::kMillisecond);
BENCHMARK(BuildOneMillionTriangles)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(RefitOneMillionTriangles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
