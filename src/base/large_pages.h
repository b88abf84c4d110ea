// Asks the system to back a large block with huge pages before it is first
// written: a mesh of millions of vertices then costs a few hundred page
// faults instead of tens of thousands. Only a hint; nothing changes where
// the system has no such pages.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace morvanex {

inline void adviseLargePages(void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Whatever whole large pages lie inside the block: a block of a few
    // megabytes holds at least one.
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (bytes < kHuge) return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHuge - 1) & ~(kHuge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kHuge - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

// Has the system give the whole pages inside [data, data + bytes) now, as
// if written, on the calling thread: a thread about to fill the storage
// then finds it zeroed and still in its cache. Nothing is written from
// here, so other threads may be using the pages at the edges. False where
// the system cannot (the first writes then take the pages as usual).
inline bool populatePages(void* data, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    constexpr std::uintptr_t kPage = 4096;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kPage - 1);
    return end <= begin || ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE) == 0;
#else
    (void)data;
    (void)bytes;
    return false;
#endif
}

}  // namespace morvanex
