// Match keys: names that the system's name comparison calls equal, without
// regard to letter case, share one key.
#pragma once

#include <cstddef>
#include <vector>

#include "makefile/makefile_names.h"
#include "os/platform.h"

namespace vexel {

// The key of every name of the table, by name id. A key that is a name of
// the table has that name's id, so a name that is its own key keeps its id
// and ordinary names cost no second hash; other keys are numbered on from
// the table's count, up to count.
struct MatchKeys {
    std::vector<NameId> keyOfName;
    std::size_t count = 0;
};

MatchKeys MatchKeyIds(const MakefileNames& names, NameRules& rules);

} // namespace vexel
