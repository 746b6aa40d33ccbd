// CommandList: the command lines of the stale targets, in build order.
#pragma once

#include <string_view>
#include <vector>

#include "makefile/make_lines.h"
#include "makefile/target_record.h"

namespace vexel {

// The command lines to run, in order, each exactly as in the makefile.
using CommandList = std::vector<std::string_view>;

// Appends the command ranges of the stale records, in list order, leaving
// out the lines that begin with "#".
void CollectCommands(const DependList& dependList, const MakeLines& lines, CommandList& commands);

} // namespace vexel
