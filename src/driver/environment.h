// The environment lookup, with the tool's fixed limit on a value's length.
#pragma once

#include <cstddef>
#include <string>

#include "os/platform.h"

namespace vexel {

// Largest value read, in bytes.
constexpr std::size_t MaxEnvValueLength = 1024;

enum class EnvLookup { Read, NotExists, LengthOver };

// Reads the variable into value; on failure value is empty and the result
// tells why: not set or empty, or longer than MaxEnvValueLength.
EnvLookup GetEnvValue(ProcessFacts& facts, const std::string& name, std::string& value);

} // namespace vexel
