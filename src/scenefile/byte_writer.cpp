#include "scenefile/byte_writer.h"

#include <algorithm>

#include "base/large_pages.h"

namespace morvanex {

void ByteWriter::mat4(const Mat4& m) {
    std::uint8_t* at = room(64);
    for (const auto& row : m.m) {
        for (float cell : row) {
            store(at, cell);
            at += 4;
        }
    }
}

void ByteWriter::cstr(std::string_view text) {
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    std::uint8_t* at = room(text.size() + 1);
    std::copy(text.begin(), text.end(), at);
    at[text.size()] = 0;
}

void ByteWriter::fixedText(std::string_view text, std::size_t size) {
    if (size == 0) return;
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    if (text.size() > size - 1) text = text.substr(0, size - 1);
    std::uint8_t* at = room(size);
    std::copy(text.begin(), text.end(), at);
    std::fill(at + text.size(), at + size, std::uint8_t{0});
}

void ByteWriter::bytes(std::span<const std::uint8_t> data) {
    if (data.empty()) return;
    std::memcpy(room(data.size()), data.data(), data.size());
}

void ByteWriter::bytesInPlace(std::span<const std::uint8_t> data) {
    if (data.size() < kInPlaceMinimum) {
        bytes(data);
        return;
    }
    outside_.push_back({used_, data});
    outsideBytes_ += data.size();
}

void ByteWriter::bytesOwned(std::vector<std::uint8_t> data) {
    if (data.size() < kInPlaceMinimum) {
        bytes(data);
        return;
    }
    owned_.push_back(std::move(data));
    bytesInPlace(owned_.back());
}

void ByteWriter::zeros(std::size_t count) { std::fill_n(room(count), count, std::uint8_t{0}); }

std::size_t ByteWriter::reserveI32() {
    const std::size_t place = used_;
    u32(0);
    return place;
}

void ByteWriter::patchI32(std::size_t place, std::int32_t value) {
    store(fields_.get() + place, static_cast<std::uint32_t>(value));
}

std::vector<std::span<const std::uint8_t>> ByteWriter::pieces() const {
    std::vector<std::span<const std::uint8_t>> all;
    all.reserve(2 * outside_.size() + 1);
    std::size_t from = 0;
    for (const Outside& piece : outside_) {
        if (piece.fieldsBefore > from) all.emplace_back(fields_.get() + from, piece.fieldsBefore - from);
        all.push_back(piece.bytes);
        from = piece.fieldsBefore;
    }
    if (used_ > from) all.emplace_back(fields_.get() + from, used_ - from);
    return all;
}

std::vector<std::uint8_t> ByteWriter::joined() const {
    std::vector<std::uint8_t> all;
    all.reserve(size());
    adviseLargePages(all.data(), all.capacity());
    for (const auto piece : pieces()) all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

void ByteWriter::reserve(std::size_t bytes) {
    if (bytes > capacity_) grow(bytes - used_);
}

void ByteWriter::grow(std::size_t count) {
    const std::size_t capacity = std::max({capacity_ * 2, used_ + count, std::size_t{4096}});
    auto larger = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    if (used_ > 0) std::memcpy(larger.get(), fields_.get(), used_);
    fields_ = std::move(larger);
    capacity_ = capacity;
}

}  // namespace morvanex
