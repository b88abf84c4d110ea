// Progress of long work over the bytes of a file: how many are done out of
// how many. Readers and writers take one in their options and leave drawing
// it to whoever asked.
#pragma once

#include <cstdint>
#include <functional>

namespace morvanex {

// Called on the thread that started the work, with `done` increasing and,
// when the work completes, a last call with done == total. It may be called
// often: whoever listens keeps it cheap.
using ByteProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

inline void reportProgress(const ByteProgress& progress, std::uint64_t done, std::uint64_t total) {
    if (progress) progress(done, total);
}

}  // namespace morvanex
