// Spreading independent pieces of work over a few threads.
#pragma once

#include <cstddef>
#include <functional>

namespace morvanex {

// The threads to use when the caller asks for `requested` (0: the cores).
unsigned workerThreads(unsigned requested);

// Runs task(i) for every i in [0, count) on up to `threads` threads, the
// caller's among them, each taking the next piece not yet taken. The first
// exception a task throws is rethrown here once every thread has stopped.
void runParallel(std::size_t count, unsigned threads, const std::function<void(std::size_t)>& task);

}  // namespace morvanex
