// CommandList: the command lines of the stale targets, in build order,
// grouped by the target they make.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "makefile/make_lines.h"
#include "makefile/target_record.h"

namespace vexel {

// The command lines of one stale record, each exactly as in the makefile,
// and the file they make: the target's name unquoted, or empty for the root
// record, which makes no file.
struct TargetCommands {
    std::string TargetFile;
    std::vector<std::string_view> Lines;

    friend bool operator==(const TargetCommands&, const TargetCommands&) = default;
};

// The groups to run, in order; a record without a line to run has none.
using CommandList = std::vector<TargetCommands>;

// Appends the command ranges of the stale records, in list order, leaving
// out the lines that begin with "#".
void CollectCommands(const DependList& dependList, const MakeLines& lines,
                     const MakefileNames& names, const LeadByteSet& leadBytes,
                     CommandList& commands);

} // namespace vexel
