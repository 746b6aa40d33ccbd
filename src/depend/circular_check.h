// The circular check: no target may be made, directly or through others,
// from itself.
#pragma once

#include "depend/target_graph.h"

namespace vexel {

// The first target record, in makefile order, that lies on a cycle: one of
// its dependency names matches its own target or the target of a record
// made from it, directly or through others. Null when none does. The graph
// must be linked.
const TDepend* FindCircular(const TargetGraph& graph);

} // namespace vexel
