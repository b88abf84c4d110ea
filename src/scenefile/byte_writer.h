// A little-endian writer that appends to a byte buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "scene/math.h"

namespace morvanex {

class ByteWriter {
public:
    void i32(std::int32_t value);
    void f32(float value);
    void f64(double value);
    void bool32(bool value);  // 0 or 1 in the low byte
    void byte(std::uint8_t value);
    void vec3(const Vec3& v);
    void vec4(const Vec4& v);
    void mat4(const Mat4& m);
    // The text's bytes then a 0. A text with a 0 inside is cut there, as a
    // reader would cut it.
    void cstr(std::string_view text);
    // A fixed field: up to size - 1 text bytes, then zeros up to size bytes.
    void fixedText(std::string_view text, std::size_t size);
    void bytes(std::span<const std::uint8_t> data);
    void zeros(std::size_t count);

    // An i32 placeholder to fill in later (a count known only at the end).
    std::size_t reserveI32();
    void patchI32(std::size_t at, std::int32_t value);

    const std::vector<std::uint8_t>& data() const { return data_; }
    std::vector<std::uint8_t> take() { return std::move(data_); }
    std::size_t size() const { return data_.size(); }
    void reserve(std::size_t bytes) { data_.reserve(bytes); }

private:
    void u32(std::uint32_t value);
    std::vector<std::uint8_t> data_;
};

}  // namespace morvanex
