// Environment lookup with the tool's fixed limit on the value's length.
#pragma once

#include <string>

#include "os/platform.h"
#include "run/message.h"

namespace vexel {

// Largest value read, in bytes, not counting its terminating NUL.
constexpr uint32_t MaxEnvValueLength = 1024;

// Reads the variable into value. On failure value is empty, one message
// line tells why ("EnvLengthOver" or "EnvNotExists"), and the result is false.
bool GetEnvValue(Platform& platform, MessageWriter& out, const std::string& name,
                 std::string& value);

} // namespace vexel
