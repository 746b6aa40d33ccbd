// TDepend: the record of one target of the makefile, and the list of them.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "makefile/makefile_reader.h"

namespace vexel {

// A target entry as read (Target, Depends, CmdFirst, CmdLast) with what the
// analysis finds out about it.
struct TDepend : TargetEntry {
    bool Stale = false;
    int32_t Level = 0; // build priority: a higher Level is built earlier
    // Records whose Depends name this target. A view into the run's
    // dependents graph; owns no record.
    std::span<TDepend* const> Dependents;
};

// Every record of the run, the root record first. It owns the records.
using DependList = std::vector<std::unique_ptr<TDepend>>;

// One record per entry, in the same order; the root record, entry 0, is
// stale from the start, so its commands run on every run that gets to them.
DependList MakeDependList(const std::vector<TargetEntry>& entries);

} // namespace vexel
