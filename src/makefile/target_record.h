// TDepend: the record of one target of the makefile.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "makefile/makefile_names.h"

namespace vexel {

// One target line as read, or the root record that holds the command lines
// before the first target line, with what the analysis finds out about it.
// The reader fills the first four fields; the target graph, which takes the
// records whole, links Dependents; the later phases set Stale and Level.
struct TDepend {
    NameId Target = NoName;          // as written, quotes kept; NoName for the root record
    std::span<const NameId> Depends; // the names it is made from, in line order
    int32_t CmdFirst = -1;           // the range of its command lines in
    int32_t CmdLast = -1;            // MakeLines; -1 when it has none
    bool Stale = false;              // its command lines must run
    int32_t Level = 0;               // build priority: a higher Level is built earlier
    // The other way round from Depends: the records made from this one,
    // those whose Depends name its target. Refers to them, owns none.
    std::span<TDepend* const> Dependents;
};

// Records in an order of the run, makefile order or build order, the root
// record first. Refers to the records that the target graph owns.
using DependList = std::vector<TDepend*>;

} // namespace vexel
