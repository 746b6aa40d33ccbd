// The environment lookup, with the tool's fixed limit on a value's length.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "os/platform.h"
#include "report/failure.h"

namespace vexel {

// Largest value read, in bytes.
constexpr std::size_t MaxEnvValueLength = 1024;

// Reads the variable into value. On failure value is empty and the failure
// says why: "EnvNotExists" when it is not set or empty, "EnvLengthOver"
// when it is longer than MaxEnvValueLength.
std::optional<Failure> GetEnvValue(ProcessFacts& facts, const std::string& name,
                                   std::string& value);

} // namespace vexel
