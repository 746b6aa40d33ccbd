// Build order: higher Level first, the root record ahead of all.
#pragma once

#include "depend/target_record.h"

namespace vexel {

// -1 puts a first, 1 puts b first, 0 when their Levels are equal. The root
// record (no Target) sorts before everything, itself included.
int CompareDepends(const TDepend& a, const TDepend& b);

// Sorts the list in place by the tool's exchange sort. The order it leaves
// records of equal Level in is the order in which their commands run, so the
// outcome of the procedure is kept exactly. Orders of Levels that would make
// its scans quadratic are sorted again by SortDependListBySearching.
void SortDependList(DependList& dependList);

// The same outcome, each scan done as a search over trees of keys: at most
// n log² n steps for every order of Levels.
void SortDependListBySearching(DependList& dependList);

} // namespace vexel
