// Vertex records of the drawing programs and their vertex-array formats.
//
// A layout is described element by element (semantic, index, format, byte
// offset, buffer slot, per-instance), the way the drawing code thinks of it.
// On the GL side consecutive scalar elements of one semantic (the four blend
// weights, the four blend indices) become one attribute, and the attribute
// locations are numbered in element order; the vertex programs declare the
// same numbers with layout(location = N).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "scene/math.h"
#include "scene/mesh_vertex.h"

namespace morvanex {
class GlState;
}

namespace morvanex {

// A world-space line vertex: position and RGBA colour.
struct LineVertex {
    Vec3 position;
    Vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
};
static_assert(sizeof(LineVertex) == 28);
static_assert(offsetof(LineVertex, position) == 0);
static_assert(offsetof(LineVertex, colour) == 12);

// An interface vertex: position in clip units (x, y in -1..1, z 0.5), RGBA
// colour and texture coordinates (v = 0 at the top of the image).
struct ScreenVertex {
    Vec3 position;
    Vec4 colour{1.0f, 1.0f, 1.0f, 1.0f};
    Vec2 texcoord;
};
static_assert(sizeof(ScreenVertex) == 36);
static_assert(offsetof(ScreenVertex, position) == 0);
static_assert(offsetof(ScreenVertex, colour) == 12);
static_assert(offsetof(ScreenVertex, texcoord) == 28);

// One drawn copy of a mesh (buffer slot 1, one record per instance).
// Matrices are stored as the CPU keeps them (row-major, row vectors). A
// matrix whose upper 3x3 part is all zeros, as in a fresh record (or when no
// instance buffer is bound), stands for the object's own world matrix.
struct InstanceRecord {
    Mat4 matrix{{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}};  // world matrix of the copy
    Vec4 colour{1.0f, 0.0f, 0.0f, 0.5f};                                  // marker colour
    Mat4 matrix2{{{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}};  // second matrix (carried, not read)
};
static_assert(sizeof(InstanceRecord) == 144);
static_assert(offsetof(InstanceRecord, matrix) == 0);
static_assert(offsetof(InstanceRecord, colour) == 64);
static_assert(offsetof(InstanceRecord, matrix2) == 80);

enum class VertexFormat : std::uint8_t { Float1, Float2, Float3, Float4, UInt1 };

struct VertexElement {
    const char* semantic;
    std::uint32_t semanticIndex;
    VertexFormat format;
    std::uint32_t offset;
    std::uint32_t slot = 0;
    bool perInstance = false;  // step rate 1
};

enum class LayoutKind : std::uint8_t { Line, Screen, Mesh };
inline constexpr std::size_t kLayoutKinds = 3;

std::span<const VertexElement> layoutElements(LayoutKind kind);
// Byte stride of the vertices in buffer slot 0 and slot 1 (0 when unused).
std::uint32_t layoutStride(LayoutKind kind, std::uint32_t slot);
const char* layoutName(LayoutKind kind);

// One GL vertex attribute made from one or more elements.
struct GlAttribute {
    std::uint32_t location;
    std::int32_t components;  // 1..4
    bool integer;             // glVertexAttribIPointer (GL_UNSIGNED_INT)
    std::uint32_t offset;
    std::uint32_t slot;
    std::uint32_t divisor;    // 0 per vertex, 1 per instance
};
std::vector<GlAttribute> glAttributes(std::span<const VertexElement> elements);

// A vertex-array object built for one layout. GL 3.3 ties the attribute
// formats to the bound buffers, so the buffers are given here and the
// pointers are set again only when they change.
class VertexArrayFormat {
public:
    VertexArrayFormat() = default;
    ~VertexArrayFormat();
    VertexArrayFormat(const VertexArrayFormat&) = delete;
    VertexArrayFormat& operator=(const VertexArrayFormat&) = delete;
    VertexArrayFormat(VertexArrayFormat&& other) noexcept;
    VertexArrayFormat& operator=(VertexArrayFormat&& other) noexcept;

    // Needs a current GL context.
    bool create(LayoutKind kind);
    void release();
    bool valid() const { return vao_ != 0; }
    LayoutKind kind() const { return kind_; }
    const std::vector<GlAttribute>& attributes() const { return attributes_; }
    std::uint32_t vertexArray() const { return vao_; }

    // Binds the vertex array and points slot 0 (and, for the mesh layout,
    // slot 1) at the given buffers, byte offsets included; the index
    // buffer, when not 0, becomes the element buffer.
    // The vertex array binding goes through the state layer.
    void bind(GlState& state, std::uint32_t slot0Buffer, std::uint32_t slot0Offset = 0,
              std::uint32_t slot1Buffer = 0, std::uint32_t slot1Offset = 0,
              std::uint32_t indexBuffer = 0);

private:
    LayoutKind kind_ = LayoutKind::Line;
    std::uint32_t vao_ = 0;
    std::vector<GlAttribute> attributes_;
    std::array<std::uint32_t, 2> buffers_{};
    std::array<std::uint32_t, 2> offsets_{};
    std::uint32_t indexBuffer_ = 0;
};

}  // namespace morvanex
