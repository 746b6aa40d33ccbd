// Running one command line as a child process and waiting for its end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "os/platform.h"

namespace vexel {

constexpr unsigned PollInterval = 100; // milliseconds

struct CommandResult {
    enum class Kind {
        Ended,      // exitCode holds the child's exit code, 0 included
        NotStarted, // the program could not be started
        EndUnknown, // the child's end could not be learnt
    };
    Kind kind = Kind::NotStarted;
    int32_t exitCode = 0;

    bool Succeeded() const { return kind == Kind::Ended && exitCode == 0; }
};

// Starts the line, without its leading blanks and TABs, in directory, and
// polls until the child has ended, pausing PollInterval after every query
// and once more at the end.
CommandResult RunCommand(std::string_view line, const std::string& directory,
                         ProcessRunner& runner);

} // namespace vexel
