// TDepend: the record of one target of the makefile, and the list of them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "makefile/makefile_reader.h"

namespace vexel {

struct TDepend;

// Records that depend on a target. Records whose targets match the same
// names have the same dependents, so they share one list.
using DependentList = std::vector<TDepend*>;

// A target entry as read (Target, Depends, CmdFirst, CmdLast) with what the
// analysis finds out about it.
struct TDepend : TargetEntry {
    bool Stale = false;
    int32_t Level = 0; // build priority: a higher Level is built earlier
    std::shared_ptr<const DependentList> Dependents; // null when none; owns no record
};

// Every record of the run, the root record first. It owns the records.
using DependList = std::vector<std::unique_ptr<TDepend>>;

// One record per entry, in the same order; the root record, entry 0, is
// stale from the start, so its commands run on every run that gets to them.
DependList MakeDependList(std::vector<TargetEntry>&& entries);

// The record's Dependents, empty when it has none.
const DependentList& DependentsOf(const TDepend& record);

} // namespace vexel
