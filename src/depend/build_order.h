// Build order: higher Level first, the root record ahead of all.
#pragma once

#include "depend/depend.h"

namespace vexel {

// -1 puts a first, 1 puts b first, 0 when their Levels are equal. The root
// record (empty Target) sorts before everything, itself included.
int CompareDepends(const TDepend& a, const TDepend& b);

// Sorts the list in place by the tool's exchange sort. The order it leaves
// records of equal Level in is the order in which their commands run, so the
// procedure is kept exactly; only its nesting is done with a work list.
void SortDependList(DependList& dependList);

} // namespace vexel
