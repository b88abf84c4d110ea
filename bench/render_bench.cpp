// The frame procedure on one graphics context against a bare loop that
// draws the same vertex buffers with a trivial program:
//   (a) one mesh of one million triangles,
//   (b) 1,000 objects of 200 triangles each.
// Every frame ends with glFinish, so the times include the drawing itself.
// The ratios and the per-object overhead are printed at the end.
#include <benchmark/benchmark.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "base/trace_log.h"
#include "modeling/object_transform.h"
#include "platform/platform_window.h"
#include "platform/sdl_session.h"
#include "platform/system_folders.h"
#include "render/camera.h"
#include "render/graphics_context.h"
#include "render/object_gpu.h"
#include "render/renderer.h"
#include "render/scene_passes.h"
#include "scene/scene.h"

namespace {

using namespace morvanex;

constexpr int kWidth = 640;
constexpr int kHeight = 360;
constexpr int kSmallObjects = 1000;

// A grid of quads in the plane z = 0 facing -z, one vertex per corner:
// columns x rows quads, 2 triangles each, spanning width x height units.
void assignGrid(SceneObject& object, int columns, int rows, float width, float height) {
    std::vector<MeshVertex> vertices;
    vertices.reserve(static_cast<std::size_t>(columns) * rows * 6);
    const auto corner = [&](int i, int j) {
        MeshVertex v;
        v.position = {width * (static_cast<float>(i) / columns - 0.5f), height * (static_cast<float>(j) / rows - 0.5f),
                      0.0f};
        v.normal = {0.0f, 0.0f, -1.0f};
        v.texcoord = v.texcoord2 = {static_cast<float>(i) / columns, static_cast<float>(j) / rows};
        return v;
    };
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            // Clockwise seen from -z: (i, j+1), (i+1, j+1), (i+1, j), then (i, j+1), (i+1, j), (i, j).
            for (auto [a, b] : {std::pair{i, j + 1}, {i + 1, j + 1}, {i + 1, j}, {i, j + 1}, {i + 1, j}, {i, j}}) {
                vertices.push_back(corner(a, b));
            }
        }
    }
    std::vector<std::int32_t> indices(vertices.size());
    for (std::size_t k = 0; k < indices.size(); ++k) indices[k] = static_cast<std::int32_t>(k);
    object.assignMesh(std::move(vertices), std::move(indices));
}

const char* kBareVertex = R"(#version 330 core
layout(location = 0) in vec3 inPosition;
uniform mat4 uWorldViewProj;
void main() { gl_Position = vec4(inPosition, 1.0) * uWorldViewProj; }
)";
const char* kBarePixel = R"(#version 330 core
out vec4 outColour;
void main() { outColour = vec4(0.8, 0.8, 0.8, 1.0); }
)";

GLuint compile(GLenum kind, const char* source) {
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}

// Everything one run draws with.
struct Bench {
    Bench() {
        if (!sdl.ok() || !window.create("render bench", kWidth, kHeight) ||
            window.createGraphicsContext() != GraphicsSupport::Core33) {
            return;
        }
        graphics = std::make_unique<GraphicsContext>(window, trace);
        graphics->setSampleModeList(sampleModeListFromCounts({1}));
        if (failed(graphics->create())) return;
        RendererSetup setup;
        setup.programFolder = executableFolder();
        renderer = std::make_unique<Renderer>(trace, *graphics, setup);
        passes = std::make_unique<ScenePasses>(*renderer);
        buildScenes();
        makeBareProgram();
        ready = renderer->programFailures() == 0 && bareProgram != 0;
    }
    ~Bench() {
        for (Scene* scene : {&big, &many}) {
            scene->clearContent();
            for (const auto& object : scene->objects()) object->gpu.reset();
        }
        if (bareVao != 0) glDeleteVertexArrays(1, &bareVao);
        if (bareProgram != 0) glDeleteProgram(bareProgram);
        passes.reset();
        renderer.reset();
        if (graphics) graphics->releaseAll();
    }

    void buildScenes() {
        assignGrid(big.addObject("maillage"), 1000, 500, 160.0f, 90.0f);  // 1,000,000 triangles
        for (int k = 0; k < kSmallObjects; ++k) {
            SceneObject& object = many.addObject("piece");
            assignGrid(object, 10, 10, 3.0f, 3.0f);  // 200 triangles
            object.position = {static_cast<float>(k % 40) * 4.0f - 78.0f, static_cast<float>(k / 40) * 3.5f - 42.0f,
                               0.0f};
        }
        for (Scene* scene : {&big, &many}) {
            scene->backgroundColour = {0.2f, 0.2f, 0.2f, 1.0f};
            rebuildWorldMatrices(*scene);
            renderer->prepareScene(*scene);
        }
        // The whole 160 x 90 plane fills the view from 110 units.
        const Vec3 eye{0.0f, 0.0f, -110.0f};
        view = {lookAtLH(eye, {0.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}),
                perspectiveFovLH(kCameraDefaultFieldOfView, static_cast<float>(kWidth) / kHeight, 1.0f, 10000.0f), eye};
        settings.editMode = false;
    }

    void makeBareProgram() {
        const GLuint vs = compile(GL_VERTEX_SHADER, kBareVertex);
        const GLuint fs = compile(GL_FRAGMENT_SHADER, kBarePixel);
        bareProgram = glCreateProgram();
        glAttachShader(bareProgram, vs);
        glAttachShader(bareProgram, fs);
        glLinkProgram(bareProgram);
        glDeleteShader(vs);
        glDeleteShader(fs);
        GLint linked = 0;
        glGetProgramiv(bareProgram, GL_LINK_STATUS, &linked);
        if (linked == 0) {
            glDeleteProgram(bareProgram);
            bareProgram = 0;
            return;
        }
        matrixLocation = glGetUniformLocation(bareProgram, "uWorldViewProj");
        glGenVertexArrays(1, &bareVao);
    }

    void frame(Scene& scene) {
        graphics->beginFrame(scene.backgroundColour);
        passes->drawFrame(scene, view, settings, 0.0, 1.0 / 60.0);
        glFinish();
    }

    // The same buffers, one draw per object, only a matrix per draw.
    void bareFrame(Scene& scene) {
        graphics->beginFrame(scene.backgroundColour);
        renderer->gl.invalidate();
        glUseProgram(bareProgram);
        glBindVertexArray(bareVao);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_CULL_FACE);
        const Mat4 viewProjection = view.view * view.projection;
        for (const auto& object : scene.objects()) {
            if (!object->gpu || object->gpu->indexCount == 0) continue;
            const Mat4 m = gpuMatrix(object->worldMatrix * viewProjection);
            glUniformMatrix4fv(matrixLocation, 1, GL_FALSE, &m.m[0][0]);
            glBindBuffer(GL_ARRAY_BUFFER, object->gpu->vertexBuffer);
            glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), nullptr);
            glEnableVertexAttribArray(0);
            glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, object->gpu->indexBuffer);
            glDrawElements(GL_TRIANGLES, object->gpu->indexCount, GL_UNSIGNED_INT, nullptr);
        }
        glBindVertexArray(0);
        glFinish();
        renderer->gl.invalidate();
    }

    SdlSession sdl;
    PlatformWindow window;
    TraceLog trace;
    std::unique_ptr<GraphicsContext> graphics;
    std::unique_ptr<Renderer> renderer;
    std::unique_ptr<ScenePasses> passes;
    Scene big;
    Scene many;
    FrameView view;
    SceneFrameSettings settings;
    GLuint bareProgram = 0;
    GLuint bareVao = 0;
    GLint matrixLocation = -1;
    bool ready = false;
};

Bench& bench() {
    static Bench instance;
    return instance;
}

std::map<std::string, double>& meanSeconds() {
    static std::map<std::string, double> means;
    return means;
}

template <class Draw>
void run(benchmark::State& state, const std::string& name, Draw draw) {
    Bench& b = bench();
    if (!b.ready) {
        state.SkipWithError("no OpenGL 3.3 context with the drawing programs");
        return;
    }
    draw(b);  // first frame: anything made on first use
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        draw(b);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        total += took.count();
        state.SetIterationTime(took.count());
    }
    meanSeconds()[name] = total / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

void BM_FrameOneMillionTriangles(benchmark::State& state) {
    run(state, "frame big", [](Bench& b) { b.frame(b.big); });
}
void BM_BareOneMillionTriangles(benchmark::State& state) {
    run(state, "bare big", [](Bench& b) { b.bareFrame(b.big); });
}
void BM_FrameThousandObjects(benchmark::State& state) {
    run(state, "frame many", [](Bench& b) { b.frame(b.many); });
}
void BM_BareThousandObjects(benchmark::State& state) {
    run(state, "bare many", [](Bench& b) { b.bareFrame(b.many); });
}

BENCHMARK(BM_FrameOneMillionTriangles)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareOneMillionTriangles)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FrameThousandObjects)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareThousandObjects)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void printSummary() {
    auto& m = meanSeconds();
    if (m.count("frame big") != 0 && m.count("bare big") != 0) {
        std::printf("(a) 1,000,000 triangles: frame %.2f ms, bare loop %.2f ms, ratio %.2f (goal <= 1.3)\n",
                    m["frame big"] * 1e3, m["bare big"] * 1e3, m["frame big"] / m["bare big"]);
    }
    if (m.count("frame many") != 0 && m.count("bare many") != 0) {
        std::printf("(b) 1,000 objects x 200 triangles: frame %.2f ms, bare loop %.2f ms, ratio %.2f, "
                    "overhead %.1f us per object\n",
                    m["frame many"] * 1e3, m["bare many"] * 1e3, m["frame many"] / m["bare many"],
                    (m["frame many"] - m["bare many"]) * 1e6 / kSmallObjects);
    }
}

}  // namespace

int main(int argc, char** argv) {
    preferOffscreenVideoWithoutDisplay();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    printSummary();
    benchmark::Shutdown();
    return 0;
}
