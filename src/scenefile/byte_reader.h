// A bounded little-endian reader over the bytes of a file.
//
// Every read checks what remains first. The first failed read puts the
// reader into its failed state: later reads return defaults and change
// nothing, so a record reader can read a run of fields and test once. The
// failure says what was being read and at which byte offset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "scene/math.h"

namespace morvanex {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::int32_t i32(std::string_view what);
    float f32(std::string_view what);
    double f64(std::string_view what);
    // True when the first of the four bytes is non-zero; the others are ignored.
    bool bool32(std::string_view what);
    std::uint8_t byte(std::string_view what);
    Vec3 vec3(std::string_view what);
    Vec4 vec4(std::string_view what);
    Mat4 mat4(std::string_view what);
    // Bytes up to a 0; running out before the 0 is damage.
    std::string cstr(std::string_view what);
    // A fixed field of `size` bytes holding a 0-terminated text.
    std::string fixedText(std::size_t size, std::string_view what);
    // `count` raw bytes.
    std::span<const std::uint8_t> bytes(std::size_t count, std::string_view what);
    void skip(std::size_t count, std::string_view what);

    // A count of elements of `elementSize` bytes each: negative, or more than
    // the remaining bytes could hold, is damage (and reads as 0).
    std::int32_t count(std::size_t elementSize, std::string_view what);

    // Marks the input damaged from outside (a value the layout cannot hold).
    void fail(std::string_view what);

    bool ok() const { return !failed_; }
    std::size_t offset() const { return offset_; }
    std::size_t remaining() const { return bytes_.size() - offset_; }
    std::size_t size() const { return bytes_.size(); }
    bool atEnd() const { return offset_ == bytes_.size(); }

    // "what" and where the first failure happened.
    const std::string& failedWhat() const { return failedWhat_; }
    std::size_t failedOffset() const { return failedOffset_; }

private:
    bool take(std::size_t count, std::string_view what);
    std::uint32_t u32At(std::size_t at) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
    bool failed_ = false;
    std::string failedWhat_;
    std::size_t failedOffset_ = 0;
};

}  // namespace morvanex
