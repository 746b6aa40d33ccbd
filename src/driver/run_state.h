// The state of one run, handed to each phase in turn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "depend/command_list.h"
#include "depend/target_record.h"
#include "makefile/make_lines.h"

namespace vexel {

// Exit statuses of a run.
constexpr int32_t ExitSuccess = 0;
constexpr int32_t ExitFailure = -1; // a failure the tool reported itself
constexpr int32_t ExitUnexpected = 1;

struct RunState {
    int32_t ExitStatus = ExitFailure; // ExitSuccess only once the run has succeeded
    std::string ComSpecValue;
    std::string StartDir;
    std::string MakeFileName;
    std::string LogFileName; // non-empty: message lines go to the log
    MakeLines Lines;
    MakefileTargets Targets; // every name, viewing the text of Lines
    DependList Depends;
    std::vector<TDepend*> DependentLinks; // what the records' Dependents view
    CommandList Commands;
};

} // namespace vexel
