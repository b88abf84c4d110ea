#include "scenefile/byte_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace morvanex {

bool ByteReader::take(std::size_t count, std::string_view what) {
    if (failed_) return false;
    if (count > remaining()) {
        fail(what);
        return false;
    }
    return true;
}

void ByteReader::fail(std::string_view what) {
    if (failed_) return;
    failed_ = true;
    failedWhat_ = std::string(what);
    failedOffset_ = offset_;
}

std::uint32_t ByteReader::u32At(std::size_t at) const {
    return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
}

std::int32_t ByteReader::i32(std::string_view what) {
    if (!take(4, what)) return 0;
    const auto value = static_cast<std::int32_t>(u32At(offset_));
    offset_ += 4;
    return value;
}

float ByteReader::f32(std::string_view what) {
    if (!take(4, what)) return 0.0f;
    const float value = std::bit_cast<float>(u32At(offset_));
    offset_ += 4;
    return value;
}

double ByteReader::f64(std::string_view what) {
    if (!take(8, what)) return 0.0;
    const std::uint64_t bits = static_cast<std::uint64_t>(u32At(offset_)) | (static_cast<std::uint64_t>(u32At(offset_ + 4)) << 32);
    offset_ += 8;
    return std::bit_cast<double>(bits);
}

bool ByteReader::bool32(std::string_view what) {
    if (!take(4, what)) return false;
    const bool value = bytes_[offset_] != 0;
    offset_ += 4;
    return value;
}

std::uint8_t ByteReader::byte(std::string_view what) {
    if (!take(1, what)) return 0;
    return bytes_[offset_++];
}

Vec3 ByteReader::vec3(std::string_view what) {
    Vec3 v;
    v.x = f32(what);
    v.y = f32(what);
    v.z = f32(what);
    return v;
}

Vec4 ByteReader::vec4(std::string_view what) {
    Vec4 v;
    v.x = f32(what);
    v.y = f32(what);
    v.z = f32(what);
    v.w = f32(what);
    return v;
}

Mat4 ByteReader::mat4(std::string_view what) {
    Mat4 m;
    if (!take(64, what)) return m;
    for (auto& row : m.m) {
        for (float& cell : row) cell = f32(what);
    }
    return m;
}

std::string ByteReader::cstr(std::string_view what) {
    if (failed_) return {};
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset_);
    const auto zero = std::find(begin, bytes_.end(), std::uint8_t{0});
    if (zero == bytes_.end()) {
        fail(what);
        return {};
    }
    std::string text(begin, zero);
    offset_ += text.size() + 1;
    return text;
}

std::string ByteReader::fixedText(std::size_t size, std::string_view what) {
    if (!take(size, what)) return {};
    const auto begin = bytes_.begin() + static_cast<std::ptrdiff_t>(offset_);
    const auto end = begin + static_cast<std::ptrdiff_t>(size);
    const auto zero = std::find(begin, end, std::uint8_t{0});
    std::string text(begin, zero);
    offset_ += size;
    return text;
}

std::span<const std::uint8_t> ByteReader::bytes(std::size_t count, std::string_view what) {
    if (!take(count, what)) return {};
    const auto out = bytes_.subspan(offset_, count);
    offset_ += count;
    return out;
}

void ByteReader::skip(std::size_t count, std::string_view what) {
    if (take(count, what)) offset_ += count;
}

std::int32_t ByteReader::count(std::size_t elementSize, std::string_view what) {
    const std::size_t at = offset_;
    const std::int32_t n = i32(what);
    if (failed_) return 0;
    const bool tooMany = elementSize > 0 && static_cast<std::uint64_t>(n) > remaining() / elementSize;
    if (n < 0 || tooMany) {
        offset_ = at;  // the error points at the count itself
        fail(what);
        return 0;
    }
    return n;
}

}  // namespace morvanex
