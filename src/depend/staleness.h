// Staleness by age stamps, and the command lines of the stale targets.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "depend/depend.h"
#include "makefile/make_lines.h"
#include "os/platform.h"

namespace vexel {

// The command lines to run, in order, each exactly as in the makefile.
using CommandList = std::vector<std::string_view>;

constexpr int32_t NoStamp = -1;

// Whether a dependency's stamp makes a target with targetStamp stale. Stamps
// compare as unsigned numbers, so that dates from 2044 on stay newer than
// earlier ones; a missing dependency never makes a target stale.
inline bool IsNewer(int32_t dependencyStamp, int32_t targetStamp) {
    return dependencyStamp != NoStamp &&
           static_cast<uint32_t>(dependencyStamp) > static_cast<uint32_t>(targetStamp);
}

// Sets TargetAge and marks, in list order, every target record whose file is
// missing or older than one of its dependencies; SetStale passes it on. The
// list must still be in makefile order, the root record first.
void MarkStaleTargets(DependList& dependList, FileSystem& files, const LeadByteSet& leadBytes);

// Appends the command ranges of the stale records, in list order, leaving
// out the lines that begin with "#".
void CollectCommands(const DependList& dependList, const MakeLines& lines, CommandList& commands);

} // namespace vexel
