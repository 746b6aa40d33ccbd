// The state of one run: what the start-up takes from the environment and
// the arguments, and what the phases make, kept until the clean-up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "depend/command_list.h"
#include "depend/target_graph.h"
#include "makefile/make_lines.h"

namespace vexel {

// Exit statuses of a run.
constexpr int32_t ExitSuccess = 0;
constexpr int32_t ExitFailure = -1; // a failure the tool reported itself
constexpr int32_t ExitUnexpected = 1;

struct RunState {
    std::string MakeFileName;
    std::string LogFileName; // non-empty: message lines go to the log
    // Each of the following views those above it, and is released before
    // them: the graph's names view the text of Lines, BuildOrder points at
    // the graph's records, Commands views the text.
    MakeLines Lines;
    std::optional<TargetGraph> Graph; // the records and every name, once the makefile is read
    DependList BuildOrder;            // the graph's records in build order
    CommandList Commands;
};

} // namespace vexel
