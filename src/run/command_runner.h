// Running the collected command lines, one child process at a time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/platform.h"
#include "run/message.h"

namespace vexel {

constexpr unsigned PollInterval = 100; // milliseconds

// Echoes the line, runs it in directory and waits for its end. 0 when it
// ended with exit code 0, -1 when it could not be started or its end could
// not be learnt, otherwise its exit code.
int32_t RunCommand(std::string_view line, const std::string& directory, ProcessRunner& runner,
                   MessageWriter& out);

// Runs the lines in order and stops at the first nonzero result. True when
// every line gave 0. An empty list starts nothing.
bool RunCommands(const std::vector<std::string_view>& commands, const std::string& directory,
                 ProcessRunner& runner, MessageWriter& out);

} // namespace vexel
