// The circular check, which also builds the dependents graph.
#pragma once

#include <vector>

#include "depend/target_record.h"
#include "os/platform.h"

namespace vexel {

// Checks every target record, in list order, for a circular dependency: a
// record fails when one of its dependency names matches its own target or
// the target of a record that depends on it, directly or through others.
// Names match by the system's rules, each distinct name keyed once (keys
// join the name table). Returns the first record that fails. When none
// does, every record's Dependents views, in links, each record whose
// dependency names match its target, and the result is null. The root
// record (entry 0) takes no part.
const TDepend* CheckCircularAndLinkDependents(DependList& dependList, MakefileNames& names,
                                              NameRules& rules, std::vector<TDepend*>& links);

} // namespace vexel
