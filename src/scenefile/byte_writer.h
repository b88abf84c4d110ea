// A little-endian writer. Fields go into one growing buffer through inline
// stores; large arrays that stay put until the bytes are written (a mesh's
// vertices and indices) are only referred to, so that a file write sends
// them from where they sit instead of copying them first.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "scene/math.h"

namespace morvanex {

class ByteWriter {
public:
    // Arrays at least this large are referred to rather than copied: below
    // it, one more piece to write costs more than the copy.
    static constexpr std::size_t kInPlaceMinimum = std::size_t{64} << 10;

    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void f32(float value) { u32(std::bit_cast<std::uint32_t>(value)); }
    void f64(double value) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        std::uint8_t* at = room(8);
        store(at, static_cast<std::uint32_t>(bits));
        store(at + 4, static_cast<std::uint32_t>(bits >> 32));
    }
    void bool32(bool value) { u32(value ? 1u : 0u); }  // 0 or 1 in the low byte
    void byte(std::uint8_t value) { *room(1) = value; }
    void vec3(const Vec3& v) {
        std::uint8_t* at = room(12);
        store(at, v.x);
        store(at + 4, v.y);
        store(at + 8, v.z);
    }
    void vec4(const Vec4& v) {
        std::uint8_t* at = room(16);
        store(at, v.x);
        store(at + 4, v.y);
        store(at + 8, v.z);
        store(at + 12, v.w);
    }
    void mat4(const Mat4& m);
    // The text's bytes then a 0. A text with a 0 inside is cut there, as a
    // reader would cut it.
    void cstr(std::string_view text);
    // A fixed field: up to size - 1 text bytes, then zeros up to size bytes.
    void fixedText(std::string_view text, std::size_t size);
    // Copied now.
    void bytes(std::span<const std::uint8_t> data);
    // Bytes that stay where they are, unchanged, until this writer's bytes
    // have been taken or written: large ones are referred to, not copied.
    void bytesInPlace(std::span<const std::uint8_t> data);
    // Bytes the writer keeps until its own bytes are written.
    void bytesOwned(std::vector<std::uint8_t> data);
    void zeros(std::size_t count);

    // An i32 placeholder to fill in later (a count known only at the end).
    // The place is the writer's own, not a position in the file.
    std::size_t reserveI32();
    void patchI32(std::size_t place, std::int32_t value);

    // All the bytes in order, as pieces that point into this writer and into
    // the arrays given in place.
    std::vector<std::span<const std::uint8_t>> pieces() const;
    // All the bytes copied into one array.
    std::vector<std::uint8_t> joined() const;
    std::size_t size() const { return used_ + outsideBytes_; }
    // Room for this many bytes of fields, so that they are not moved as they grow.
    void reserve(std::size_t bytes);

private:
    // An array given in place, and where in the fields it comes.
    struct Outside {
        std::size_t fieldsBefore;
        std::span<const std::uint8_t> bytes;
    };

    static void store(std::uint8_t* at, std::uint32_t value) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(at, &value, 4);
        } else {
            for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }
    static void store(std::uint8_t* at, float value) { store(at, std::bit_cast<std::uint32_t>(value)); }
    void u32(std::uint32_t value) { store(room(4), value); }
    // The next `count` bytes of the fields, to be filled at once.
    std::uint8_t* room(std::size_t count) {
        if (capacity_ - used_ < count) grow(count);
        std::uint8_t* at = fields_.get() + used_;
        used_ += count;
        return at;
    }
    void grow(std::size_t count);

    std::unique_ptr<std::uint8_t[]> fields_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
    std::vector<Outside> outside_;
    std::size_t outsideBytes_ = 0;
    std::vector<std::vector<std::uint8_t>> owned_;  // moved in: their bytes stay put
};

}  // namespace morvanex
