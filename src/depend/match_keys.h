// Match keys: names that the system's name comparison calls equal, without
// regard to letter case, share one key.
#pragma once

#include <vector>

#include "makefile/makefile_names.h"
#include "os/platform.h"

namespace vexel {

// The key of every name of the table, by name id, as the id of the key's
// text; the keys join the table. A name that is its own key keeps its id,
// so ordinary names cost no second hash.
std::vector<NameId> MatchKeyIds(MakefileNames& names, NameRules& rules);

} // namespace vexel
