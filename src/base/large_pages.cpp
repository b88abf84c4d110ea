#include "base/large_pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace morvanex {

void preferLargePages(void* data, std::size_t bytes) {
#if defined(MADV_HUGEPAGE)
    // Below a few large pages the gain is lost in the asking.
    constexpr std::size_t kWorthAsking = std::size_t{8} << 20;
    if (bytes < kWorthAsking) return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + bytes) / page * page;
    ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

}  // namespace morvanex
