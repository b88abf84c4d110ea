// Fresh memory is cleared and mapped a small page at a time on first touch,
// which in a virtual machine can cost more than filling it: a large buffer
// about to be filled whole asks for large pages instead.
#pragma once

#include <cstddef>

namespace morvanex {

// A hint only: nothing changes where the system has no such pages.
void preferLargePages(void* data, std::size_t bytes);

}  // namespace morvanex
