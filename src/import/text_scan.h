// Small scanners over text held in memory, shared by the OBJ and MTL readers.
// They never read past `end`.
#pragma once

#include <bit>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <string_view>

namespace morvanex::scan {

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

inline const char* skipBlanks(const char* p, const char* end) {
    while (p < end && isBlank(*p)) ++p;
    return p;
}

// The next blank-separated word; p moves past it.
inline std::string_view word(const char*& p, const char* end) {
    p = skipBlanks(p, end);
    const char* start = p;
    while (p < end && !isBlank(*p)) ++p;
    return {start, static_cast<std::size_t>(p - start)};
}

inline std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

namespace detail {

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// The value of the digits at q when fewer than eight of them are followed by
// a non-digit within the next eight bytes (q + 8 <= end): all eight bytes
// tested and summed at once. False, q unchanged, otherwise.
inline bool shortDigitRun(const char*& q, std::uint64_t& value) {
    std::uint64_t x;
    std::memcpy(&x, q, 8);
    // Per byte: the high nibble is 3 and the low one is below 10.
    const std::uint64_t notDigit = ((x & 0xF0F0F0F0F0F0F0F0u) ^ 0x3030303030303030u) |
                                   (((x & 0x0F0F0F0F0F0F0F0Fu) + 0x0606060606060606u) & 0xF0F0F0F0F0F0F0F0u);
    if (notDigit == 0) return false;
    const int length = std::countr_zero(notDigit) / 8;  // bytes in memory order: the first is the lowest
    if (length == 0) {
        value = 0;
        return true;
    }
    // The digits moved to the top bytes, then paired, quadrupled, octupled.
    std::uint64_t d = (x - 0x3030303030303030u) << (8 * (8 - length));
    d = ((d & 0x0F000F000F000F00u) >> 8) + (d & 0x000F000F000F000Fu) * 10;
    d = ((d & 0x00FF000000FF0000u) >> 16) + (d & 0x000000FF000000FFu) * 100;
    d = ((d & 0x0000FFFF00000000u) >> 32) + (d & 0x000000000000FFFFu) * 10000;
    value = d;
    q += length;
    return true;
}

// The digits of "123.4567" when both runs are shorter than eight digits
// and eight bytes can be read after each (up to `readable`; see number()):
// m = 1234567, decimals = 4, q past them. False, nothing changed, otherwise.
inline bool shortDecimalDigits(const char*& q, const char* end, const char* readable, std::uint64_t& m,
                               int& decimals) {
    static constexpr std::uint64_t kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};
    const char* r = q;
    std::uint64_t whole = 0;
    if (readable - r < 8 || !shortDigitRun(r, whole)) return false;
    if (r == end || *r != '.') {
        m = whole;
        decimals = 0;
        q = r;
        return true;
    }
    const char* first = r + 1;
    const char* f = first;
    std::uint64_t fraction = 0;
    if (readable - f < 8 || !shortDigitRun(f, fraction)) return false;
    decimals = static_cast<int>(f - first);
    m = whole * kScale[decimals] + fraction;
    q = f;
    return true;
}

// m / 10^decimals rounded to the nearest float, for m <= 2^24 and decimals
// <= 10: m and 10^k are exact floats, so a float division would round
// correctly; the product with the double nearest 10^-k, rounded to float,
// gives the same float for every such m and k (checked for all of them)
// and costs a fraction of a division.
inline float scaledDecimal(std::uint64_t m, int decimals) {
    static constexpr double kInversePowers[] = {1e0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9, 1e-10};
    return static_cast<float>(static_cast<double>(m) * kInversePowers[decimals]);
}

// Plain decimals ("-0.013000", "12"), the whole of what most files hold,
// read exactly without the general reader: with at most 24 significant bits
// and 10 decimals, m and 10^k are exact floats and one division rounds
// m / 10^k correctly, as the general reader would. False (p unchanged) for
// anything else: exponents, long mantissas, a number followed by a character
// for which `separates` is false.
template <typename Separator>
inline bool plainDecimal(const char*& p, const char* end, const char* readable, float& out, Separator separates) {
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    std::uint64_t m = 0;
    const char* digits = q;
    int decimals = 0;
    if (!shortDecimalDigits(q, end, readable, m, decimals)) {
        while (q < end && isDigit(*q)) m = m * 10 + static_cast<unsigned>(*q++ - '0');
        if (q < end && *q == '.') {
            const char* first = ++q;
            while (q < end && isDigit(*q)) m = m * 10 + static_cast<unsigned>(*q++ - '0');
            decimals = static_cast<int>(q - first);
        }
    }
    // 19 digits always fit the 64 bits; leading zeros count, which only
    // sends rare long forms to the general reader.
    const auto count = static_cast<int>(q - digits) - (decimals > 0 || (q > digits && q[-1] == '.') ? 1 : 0);
    if (count <= 0 || count > 19) return false;
    if (q < end && !separates(*q)) return false;
    if (m > (std::uint64_t{1} << 24) || decimals > 10) {
        while (decimals > 0 && m % 10 == 0) {
            m /= 10;
            --decimals;
        }
        if (m > (std::uint64_t{1} << 24) || decimals > 10) return false;
    }
    const float value = scaledDecimal(m, decimals);
    out = negative ? -value : value;
    p = q;
    return true;
}
template <typename Separator>
inline bool plainDecimal(const char*& p, const char* end, float& out, Separator separates) {
    return plainDecimal(p, end, end, out, separates);
}

}  // namespace detail

// A float after blanks; false (p unchanged past the blanks) when none.
// Bytes up to `readable` (end or past it) may be read ahead, so that the
// digits at the end of a line are read as fast as the others; the byte at
// end, when there is one, must then be neither a digit nor a point.
inline bool number(const char*& p, const char* end, const char* readable, float& out) {
    p = skipBlanks(p, end);
    if (detail::plainDecimal(p, end, readable, out, [](char c) { return isBlank(c); })) return true;
    const char* start = p;
    if (start < end && *start == '+') ++start;
    const auto [next, error] = std::from_chars(start, end, out);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a float: still a number, so step over it.
        const char* q = start;
        while (q < end && !isBlank(*q)) ++q;
        out = 0.0f;
        p = q;
        return true;
    }
    if (error != std::errc{} || next == start) return false;
    p = next;
    return true;
}
inline bool number(const char*& p, const char* end, float& out) { return number(p, end, end, out); }


namespace detail {

// The digits at q one at a time, for the runs too long or too near the end
// for shortDigitRun; p moves past them.
[[gnu::noinline]] inline bool longInteger(const char*& p, const char* q, const char* end, bool negative,
                                          std::int32_t& out) {
    const char* digits = q;
    std::uint64_t value = 0;
    while (q < end && isDigit(*q)) {
        // Past int32 the value only needs to stay past it.
        if (value <= INT32_MAX) value = value * 10 + static_cast<unsigned>(*q - '0');
        ++q;
    }
    if (q == digits) return false;
    if (negative) {
        out = value >= static_cast<std::uint64_t>(INT32_MAX) ? INT32_MIN + 1 : -static_cast<std::int32_t>(value);
    } else {
        out = value > static_cast<std::uint64_t>(INT32_MAX) ? INT32_MAX : static_cast<std::int32_t>(value);
    }
    p = q;
    return true;
}

}  // namespace detail

// A signed integer, clamped to the int32 range (an index that large is out
// of range anyway). Inlined into the face reader, which reads millions.
// `readable` as for number(); the byte at end must not be a digit.
[[gnu::always_inline]] inline bool integer(const char*& p, const char* end, const char* readable,
                                           std::int32_t& out) {
    const char* q = p;
    if (q < end && *q == '+') ++q;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    const char* digits = q;
    std::uint64_t value = 0;
    if (readable - q >= 8 && detail::shortDigitRun(q, value)) {
        if (q == digits) return false;
        out = negative ? -static_cast<std::int32_t>(value) : static_cast<std::int32_t>(value);
        p = q;
        return true;
    }
    return detail::longInteger(p, q, end, negative, out);
}

[[gnu::always_inline]] inline bool integer(const char*& p, const char* end, std::int32_t& out) {
    return integer(p, end, end, out);
}

}  // namespace morvanex::scan
