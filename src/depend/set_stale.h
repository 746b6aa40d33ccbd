// SetStale: passing staleness on to every record made from a stale one.
#pragma once

#include "makefile/target_record.h"

namespace vexel {

// Marks the record stale, and every record reachable from it through
// Dependents. A record that is already stale is not entered again, so that
// marking every record costs one walk of the graph in all.
void SetStale(TDepend& record);

} // namespace vexel
