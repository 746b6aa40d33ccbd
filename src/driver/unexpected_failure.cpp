#include "driver/unexpected_failure.h"

#include <string>

namespace vexel {

#if defined(__GNUC__)
#define VEXEL_NOINLINE __attribute__((noinline))
#define VEXEL_CALLER_ADDRESS() __builtin_return_address(0)
#else
#define VEXEL_NOINLINE
#define VEXEL_CALLER_ADDRESS() nullptr
#endif

VEXEL_NOINLINE void RaiseIoFailure(int code, const std::string& description) {
    throw UnexpectedFailure("InOutError", "I/O error " + std::to_string(code) + ": " + description,
                            VEXEL_CALLER_ADDRESS());
}

namespace {

VEXEL_NOINLINE void OnOutOfMemory() {
    throw OutOfMemory(VEXEL_CALLER_ADDRESS());
}

} // namespace

void InstallOutOfMemoryHandler() {
    std::set_new_handler(OnOutOfMemory);
}

} // namespace vexel
