// Scenes built in memory for the drawing tests: boxes and quads with
// outward, clockwise-front faces, and a fixture that owns a window, frame
// targets, a renderer with every program and the scene passes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "base/trace_log.h"
#include "platform/system_folders.h"
#include "render/camera.h"
#include "render/gl_fixture.h"
#include "render/graphics_context.h"
#include "render/hidden_window.h"
#include "render/renderer.h"
#include "render/scene_passes.h"
#include "scene/scene.h"

namespace morvanex::testing {

inline MeshVertex meshVertex(Vec3 p, Vec3 n, Vec2 uv) {
    MeshVertex v{};
    v.position = p;
    v.normal = n;
    v.texcoord = uv;
    v.texcoord2 = uv;
    return v;
}

// Two triangles of the quad a, b, c, d (in order round its edge), turned so
// that they face along n (front faces are clockwise as seen from in front).
inline void appendQuad(std::vector<MeshVertex>& out, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 n) {
    if (dot(cross(b - a, c - a), n) < 0.0f) std::swap(b, d);
    const Vec2 uv[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const Vec3 p[4] = {a, b, c, d};
    for (int i : {0, 1, 2, 0, 2, 3}) out.push_back(meshVertex(p[i], n, uv[i]));
}

inline std::vector<std::int32_t> sequentialIndices(std::size_t n) {
    std::vector<std::int32_t> indices(n);
    for (std::size_t i = 0; i < n; ++i) indices[i] = static_cast<std::int32_t>(i);
    return indices;
}

// A box centred on the origin of its own frame, placed at `position`.
inline SceneObject& addBox(Scene& scene, const std::string& name, Vec3 position, Vec3 halfSize, Vec4 colour) {
    std::vector<MeshVertex> v;
    const Vec3 h = halfSize;
    for (int axis = 0; axis < 3; ++axis) {
        for (float sign : {-1.0f, 1.0f}) {
            Vec3 n{};
            (axis == 0 ? n.x : axis == 1 ? n.y : n.z) = sign;
            const Vec3 u = axis == 0 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
            const Vec3 w = cross(n, u);
            const Vec3 c = componentMul(n, h);
            const Vec3 su = componentMul(u, h);
            const Vec3 sw = componentMul(w, h);
            appendQuad(v, c - su - sw, c + su - sw, c + su + sw, c - su + sw, n);
        }
    }
    SceneObject& object = scene.addObject(name);
    const std::size_t n = v.size();
    object.assignMesh(std::move(v), sequentialIndices(n));
    object.position = position;
    object.materialColours[0] = colour;
    object.worldMatrix = matrixTranslation(position);
    return object;
}

// A horizontal square at height y facing up (or down), side 2 * half.
inline SceneObject& addFloor(Scene& scene, const std::string& name, float y, float half, Vec4 colour,
                             bool facingUp = true) {
    std::vector<MeshVertex> v;
    appendQuad(v, {-half, y, -half}, {half, y, -half}, {half, y, half}, {-half, y, half},
               {0.0f, facingUp ? 1.0f : -1.0f, 0.0f});
    SceneObject& object = scene.addObject(name);
    object.assignMesh(std::move(v), sequentialIndices(6));
    object.materialColours[0] = colour;
    return object;
}

struct Rgba {
    int r = 0, g = 0, b = 0, a = 0;
    int sum() const { return r + g + b; }
};

class SceneDrawingTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 160;
    static constexpr int kHeight = 120;

    void SetUp() override {
        ASSERT_EQ(window_.open("scene", kWidth, kHeight), "");
        graphics_ = &window_.graphics();
        renderer_ = &window_.renderer();
        passes_ = std::make_unique<ScenePasses>(*renderer_);
        scene_.backgroundColour = {0.0f, 0.0f, 0.0f, 1.0f};
        // One light up, left of and in front of the origin.
        scene_.lights[0].positionOrColour = {-60.0f, 80.0f, -100.0f, 0.0f};
        settings_.editMode = false;
    }

    void TearDown() override {
        scene_.clearContent();
        for (const auto& object : scene_.objects()) object->gpu.reset();
        passes_.reset();
        window_.close();
    }

    // The eye at `eye` looking at `at`.
    FrameView viewFrom(Vec3 eye, Vec3 at) const {
        return {lookAtLH(eye, at, {0.0f, 1.0f, 0.0f}),
                perspectiveFovLH(kCameraDefaultFieldOfView, static_cast<float>(kWidth) / kHeight, 1.0f, 10000.0f),
                eye};
    }

    FrameStatistics drawFrame(const FrameView& view, double time = 0.0) {
        renderer_->prepareScene(scene_);
        graphics_->beginFrame(scene_.backgroundColour);
        return passes_->drawFrame(scene_, view, settings_, time, 1.0 / 60.0);
    }

    Rgba pixel(int x, int y) {  // from the top left
        unsigned char rgba[4] = {};
        graphics_->readPixel(x, y, rgba);
        return {rgba[0], rgba[1], rgba[2], rgba[3]};
    }

    bool isBackground(const Rgba& p) const { return p.sum() == 0; }

    testing::HiddenWindow window_;
    GraphicsContext* graphics_ = nullptr;
    Renderer* renderer_ = nullptr;
    std::unique_ptr<ScenePasses> passes_;
    Scene scene_;
    SceneFrameSettings settings_;
};

}  // namespace morvanex::testing
