// SetStale: passing staleness on through the dependents, and the Levels
// that decide the build order.
#pragma once

#include "depend/target_record.h"

namespace vexel {

// Marks the record stale, and every record reachable from it through
// Dependents; gives each record it enters the length of the longest chain of
// Dependents links that starts there as Level. A stale dependent is not
// entered again. The dependents must hold no cycle.
void SetStale(TDepend& record);

} // namespace vexel
