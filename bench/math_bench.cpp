// Vertex transforms on the CPU: the inner loop of picking, skinning and
// export, for an array of mesh vertices laid out as the GPU sees them.
#include <benchmark/benchmark.h>

#include <vector>

#include "scene/math.h"
#include "scene/mesh_vertex.h"

namespace {

using namespace morvanex;

std::vector<MeshVertex> makeVertices(std::size_t count) {
    std::vector<MeshVertex> vertices(count);
    for (std::size_t i = 0; i < count; ++i) {
        const float f = static_cast<float>(i);
        vertices[i].position = {f * 0.5f, f * 0.25f, -f};
        vertices[i].normal = {0.0f, 1.0f, 0.0f};
    }
    return vertices;
}

void TransformPoints(benchmark::State& state) {
    const auto vertices = makeVertices(static_cast<std::size_t>(state.range(0)));
    const Mat4 world = matrixScaling(2.0f) * matrixRotationAxis({0.3f, 1.0f, 0.2f}, 0.7f) * matrixTranslation(10.0f, 0.0f, 5.0f);
    std::vector<Vec3> out(vertices.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < vertices.size(); ++i) out[i] = transformPoint(vertices[i].position, world);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(TransformPoints)->Arg(1 << 10)->Arg(1 << 20);

void MultiplyMatrices(benchmark::State& state) {
    Mat4 a = matrixRotationY(0.3f) * matrixTranslation(1.0f, 2.0f, 3.0f);
    const Mat4 b = matrixRotationX(0.1f);
    for (auto _ : state) {
        a = a * b;
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(MultiplyMatrices);

}  // namespace
