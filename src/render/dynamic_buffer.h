// A vertex buffer rewritten whole on every use (the screen quads, glyphs
// and world lines the renderer streams each frame).
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvanex {

// Sizes of the renderer's shared streaming buffers, in bytes.
inline constexpr std::size_t kScreenQuadBufferBytes = 360000;  // 36-byte screen vertices
inline constexpr std::size_t kGlyphBufferBytes = 360000;
inline constexpr std::size_t kWorldLineBufferBytes = 280000;   // 28-byte line vertices

class DynamicVertexBuffer {
public:
    DynamicVertexBuffer() = default;
    ~DynamicVertexBuffer();
    DynamicVertexBuffer(const DynamicVertexBuffer&) = delete;
    DynamicVertexBuffer& operator=(const DynamicVertexBuffer&) = delete;

    bool create(std::size_t capacity);
    void release();
    // Orphans the old contents and writes `size` bytes from the start; false
    // (nothing written) when they do not fit.
    bool write(const void* data, std::size_t size);

    std::uint32_t buffer() const { return buffer_; }
    std::size_t capacity() const { return capacity_; }

private:
    std::uint32_t buffer_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace morvanex
