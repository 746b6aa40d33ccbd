// CommandList: the command lines of the stale targets, in build order,
// grouped by the target they make.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "makefile/make_lines.h"
#include "makefile/target_record.h"

namespace vexel {

// One stale record's range of command lines in MakeLines, of which those
// that RunsAsCommand run, and the name of the file they make, unquoted as
// the reader unquoted it (see MakefileNames::FileName); empty for the root
// record, which makes no file. Small, as there may be a group for each of
// millions of targets.
struct TargetCommands {
    std::string_view file;
    int32_t first = 0; // the range in MakeLines
    int32_t last = -1;
};

// The groups to run, in order; a record without a line to run has none.
using CommandList = std::vector<TargetCommands>;

// Appends the command ranges of the stale records that have a line to run,
// in list order.
void CollectCommands(const DependList& dependList, const MakeLines& lines,
                     const MakefileNames& names, CommandList& commands);

} // namespace vexel
