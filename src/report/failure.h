// Failure: the one way a phase of the run tells what went wrong.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexel {

// A failure that a phase knows of, as the message lines that say it. A
// phase that can fail returns std::optional<Failure>: nothing when it
// succeeded. The run sequence prints the lines and ends the run with exit
// status -1. What no phase knows of (a failed write of a message line, lack
// of memory) is raised as an exception and ends the run unexpectedly.
struct Failure {
    explicit Failure(std::string_view message) : messages{std::string(message)} {}

    std::vector<std::string> messages; // in the order they are said
};

} // namespace vexel
