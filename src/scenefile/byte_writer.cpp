#include "scenefile/byte_writer.h"

#include <bit>

namespace morvanex {

void ByteWriter::u32(std::uint32_t v) {
    data_.push_back(static_cast<std::uint8_t>(v));
    data_.push_back(static_cast<std::uint8_t>(v >> 8));
    data_.push_back(static_cast<std::uint8_t>(v >> 16));
    data_.push_back(static_cast<std::uint8_t>(v >> 24));
}

void ByteWriter::i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }

void ByteWriter::f32(float value) { u32(std::bit_cast<std::uint32_t>(value)); }

void ByteWriter::f64(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    u32(static_cast<std::uint32_t>(bits));
    u32(static_cast<std::uint32_t>(bits >> 32));
}

void ByteWriter::bool32(bool value) { u32(value ? 1u : 0u); }

void ByteWriter::byte(std::uint8_t value) { data_.push_back(value); }

void ByteWriter::vec3(const Vec3& v) {
    f32(v.x);
    f32(v.y);
    f32(v.z);
}

void ByteWriter::vec4(const Vec4& v) {
    f32(v.x);
    f32(v.y);
    f32(v.z);
    f32(v.w);
}

void ByteWriter::mat4(const Mat4& m) {
    for (const auto& row : m.m) {
        for (float cell : row) f32(cell);
    }
}

void ByteWriter::cstr(std::string_view text) {
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    data_.insert(data_.end(), text.begin(), text.end());
    data_.push_back(0);
}

void ByteWriter::fixedText(std::string_view text, std::size_t size) {
    if (size == 0) return;
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    if (text.size() > size - 1) text = text.substr(0, size - 1);
    data_.insert(data_.end(), text.begin(), text.end());
    zeros(size - text.size());
}

void ByteWriter::bytes(std::span<const std::uint8_t> data) { data_.insert(data_.end(), data.begin(), data.end()); }

void ByteWriter::zeros(std::size_t count) { data_.insert(data_.end(), count, 0); }

std::size_t ByteWriter::reserveI32() {
    const std::size_t at = data_.size();
    u32(0);
    return at;
}

void ByteWriter::patchI32(std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) data_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace morvanex
