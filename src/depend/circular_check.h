// The circular check, which also builds the dependents graph.
#pragma once

#include "depend/target_record.h"
#include "os/platform.h"

namespace vexel {

// Checks every target record, in list order, for a circular dependency: a
// record fails when one of its dependency names matches its own target or
// the target of a record that depends on it, directly or through others.
// Names match by the system's rules. Returns the first record that fails.
// When none does, every record's Dependents holds each record whose
// dependency names match its target, and the result is null. The root
// record (entry 0) takes no part.
const TDepend* CheckCircularAndLinkDependents(DependList& dependList, NameRules& names);

} // namespace vexel
