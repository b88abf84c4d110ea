#include "render/world_lines.h"

#include <epoxy/gl.h>

#include <cmath>

#include "render/renderer.h"

namespace morvanex {

namespace {

void drawWith(Renderer& renderer, ProgramId id, std::span<const LineVertex> vertices, bool strip) {
    if (vertices.empty() || vertices.size() > kMaxLineVertices) return;
    const std::uint32_t program = renderer.shaders.program(id);
    VertexArrayFormat& layout = renderer.shaders.layout(LayoutKind::Line);
    if (program == 0 || !layout.valid()) return;
    if (!renderer.worldLines.write(vertices.data(), vertices.size_bytes())) return;
    renderer.gl.useProgram(program);
    layout.bind(renderer.gl, renderer.worldLines.buffer());
    renderer.gl.drawArrays(strip ? GL_LINE_STRIP : GL_LINES, 0, static_cast<std::int32_t>(vertices.size()));
}

// Two unit vectors perpendicular to the axis and to each other.
void perpendicularPair(Vec3 axis, Vec3& u, Vec3& v) {
    const Vec3 a = normalize(axis);
    const Vec3 helper = std::fabs(a.y) < 0.9f ? Vec3{0.0f, 1.0f, 0.0f} : Vec3{1.0f, 0.0f, 0.0f};
    u = normalize(cross(helper, a));
    v = cross(a, u);
}

}  // namespace

void drawLines(Renderer& renderer, std::span<const LineVertex> vertices, bool strip) {
    drawWith(renderer, ProgramId::WorldLines, vertices, strip);
}

void drawLineStripVsLine(Renderer& renderer, std::span<const LineVertex> vertices) {
    drawWith(renderer, ProgramId::LineStrip, vertices, true);
}

std::vector<LineVertex> circleVertices(Vec3 centre, float radius) {
    std::vector<LineVertex> v(kCircleVertices);
    for (int i = 0; i < kCircleVertices; ++i) {
        const float a = static_cast<float>(i) * kTwoPi / static_cast<float>(kCircleVertices);
        v[static_cast<std::size_t>(i)] = {{centre.x + radius * std::cos(a), centre.y, centre.z + radius * std::sin(a)},
                                          kTranslucentRed};
    }
    return v;
}

void drawCircle(Renderer& renderer, Vec3 centre, float radius) {
    renderer.gl.apply(renderer.states.depthOff);
    const std::vector<LineVertex> v = circleVertices(centre, radius);
    drawLines(renderer, v, true);
}

std::vector<LineVertex> dialVertices(Vec3 point, Vec3 direction, float angle) {
    constexpr float kDialRadius = 10.0f;
    Vec3 u;
    Vec3 w;
    perpendicularPair(direction, u, w);
    std::vector<LineVertex> v;
    v.reserve(kCircleVertices + 2);
    for (int i = 0; i < kCircleVertices; ++i) {
        const float a = static_cast<float>(i) * kTwoPi / static_cast<float>(kCircleVertices);
        v.push_back({point + (u * std::cos(a) + w * std::sin(a)) * kDialRadius, kTranslucentRed});
    }
    // The radius at the angle closes the strip back through the centre.
    v.push_back({point, kTranslucentRed});
    v.push_back({point + (u * std::cos(angle) + w * std::sin(angle)) * kDialRadius, kTranslucentRed});
    return v;
}

void drawAxisLine(Renderer& renderer, Vec3 point, Vec3 direction, bool withDial, float angle) {
    renderer.gl.apply(renderer.states.depthOff);
    const Vec3 d = normalize(direction);
    const LineVertex segment[2] = {{point - d * 200.0f, kTranslucentRed}, {point + d * 200.0f, kTranslucentRed}};
    drawLines(renderer, segment, false);
    if (!withDial) return;
    const std::vector<LineVertex> dial = dialVertices(point, d, angle);
    drawLines(renderer, dial, true);
}

std::vector<LineVertex> crossVertices(Vec3 c, const Vec4& colour) {
    return {{c - Vec3{0.5f, 0.0f, 0.0f}, colour}, {c + Vec3{0.5f, 0.0f, 0.0f}, colour},
            {c - Vec3{0.0f, 0.5f, 0.0f}, colour}, {c + Vec3{0.0f, 0.5f, 0.0f}, colour},
            {c - Vec3{0.0f, 0.0f, 0.5f}, colour}, {c + Vec3{0.0f, 0.0f, 0.5f}, colour}};
}

std::vector<LineVertex> boxEdgeVertices(std::span<const Vec3, 8> corners, const Vec4& colour) {
    // Corner i has bit 0 for x, bit 1 for y, bit 2 for z: an edge joins two
    // corners that differ in one bit.
    std::vector<LineVertex> v;
    v.reserve(24);
    for (int i = 0; i < 8; ++i) {
        for (int bit = 1; bit < 8; bit <<= 1) {
            if ((i & bit) != 0) continue;
            v.push_back({corners[static_cast<std::size_t>(i)], colour});
            v.push_back({corners[static_cast<std::size_t>(i | bit)], colour});
        }
    }
    return v;
}

}  // namespace morvanex
