#include "import/parallel.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace morvanex {

unsigned workerThreads(unsigned requested) {
    if (requested != 0) return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

void runParallel(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task) {
    std::atomic<std::size_t> nextPiece{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&] {
        try {
            for (std::size_t i = nextPiece++; i < count; i = nextPiece++) task(i);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(failureLock);
            if (!failure) failure = std::current_exception();
            nextPiece = count;  // the others stop at their next piece
        }
    };
    const std::size_t helpers = std::min<std::size_t>(std::max(threads, 1u), count) - (count > 0 ? 1 : 0);
    std::vector<std::thread> pool;
    try {
        for (std::size_t t = 0; t < helpers; ++t) pool.emplace_back(work);
    } catch (...) {
        // No thread to be had: the caller's own does the rest.
    }
    work();
    for (std::thread& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace morvanex
