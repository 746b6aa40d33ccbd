// The circular check: no target may be made, directly or through others,
// from itself.
#pragma once

#include <optional>

#include "depend/target_graph.h"
#include "report/failure.h"

namespace vexel {

// Finds the first target record, in makefile order, that lies on a cycle:
// one of its dependency names matches its own target or the target of a
// record made from it, directly or through others. "Circular " + its
// target + " dependency dropped." when there is one.
std::optional<Failure> CheckCircular(const TargetGraph& graph);

} // namespace vexel
