// The fuzz targets' checks: a broken promise aborts, so that the fuzzer
// keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define CHECK(condition) ((condition) ? void() : vexel::FailCheck(#condition, __FILE__, __LINE__))

namespace vexel {

[[noreturn]] inline void FailCheck(const char* check, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: %s failed\n", file, line, check);
    std::abort();
}

} // namespace vexel
