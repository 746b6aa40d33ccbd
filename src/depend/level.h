// Level: the build priority of a stale record.
#pragma once

#include <span>

#include "makefile/target_record.h"

namespace vexel {

// Gives every stale record, as Level, the number of links in the longest
// chain of Dependents that starts at it (0 when it has no dependents), so
// that a record's Level is higher than that of every record made from it.
// Records that are not stale keep Level 0. The records' Dependents must
// hold no cycle and be stale with them.
void SetLevels(std::span<TDepend> records);

} // namespace vexel
