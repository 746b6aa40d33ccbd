// Writing a whole text to a descriptor, for the log and standard output.
#pragma once

#include <optional>
#include <string_view>

#include "os/platform.h"

namespace vexel {

// Writes every byte, going on after short writes and interruptions.
std::optional<SystemError> WriteAll(int descriptor, std::string_view bytes);

} // namespace vexel
