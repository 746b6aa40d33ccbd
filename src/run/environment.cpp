#include "run/environment.h"

#include <cstring>

namespace vexel {

bool GetEnvValue(Platform& platform, MessageWriter& out, const std::string& name,
                 std::string& value) {
    value.clear();
    constexpr uint32_t bufferSize = MaxEnvValueLength + 1;
    char buffer[bufferSize] = {};
    const auto needed = static_cast<int32_t>(platform.ReadEnvironment(name, buffer, bufferSize));
    // A value that does not fit reports the size it needs, so the size test
    // must come first.
    if (needed > static_cast<int32_t>(bufferSize)) {
        out.PrintMessage("EnvLengthOver");
        return false;
    }
    if (needed == 0) {
        out.PrintMessage("EnvNotExists");
        return false;
    }
    const void* nul = std::memchr(buffer, '\0', bufferSize);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : bufferSize;
    value.assign(buffer, length);
    return true;
}

} // namespace vexel
