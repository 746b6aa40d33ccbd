// Failure: the one way a phase of the run tells what went wrong.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "os/platform.h"

namespace vexel {

// A failure that a phase knows of, as the message lines that say it, or an
// interruption of the tool, which says nothing. A phase that can fail
// returns std::optional<Failure>: nothing when it succeeded. The run
// sequence prints the lines and ends the run with exit status -1, or, after
// an interruption, cleans up and ends the tool as interrupted. What no phase
// knows of (a failed write of a message line, lack of memory) is raised as
// an exception and ends the run unexpectedly.
struct Failure {
    explicit Failure(std::string_view message) : messages{std::string(message)} {}
    explicit Failure(const Interruption& caught) : interruption(caught) {}

    std::vector<std::string> messages; // in the order they are said
    std::optional<Interruption> interruption;
};

} // namespace vexel
