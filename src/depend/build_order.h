// Build order: the root record first, then higher Level first, so that a
// target's commands run before those of the records made from it.
#pragma once

#include "depend/target_graph.h"

namespace vexel {

// Gives the stale records their Levels, then the records in build order,
// sorted from makefile order by the tool's exchange sort. The order it
// leaves records of equal Level in is the order in which their commands
// run, so the outcome of the procedure is kept exactly; orders of Levels
// that would make its scans quadratic are sorted again, to the same
// outcome, with each scan done as a search: at most n log² n steps for
// every order.
// With no target stale, the records are left in makefile order: the root
// record, the only one whose commands can run then, is first either way.
DependList BuildOrder(TargetGraph& graph);

} // namespace vexel
