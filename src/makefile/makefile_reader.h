// Reading the makefile: its text into MakeLines, its target lines into plain
// target entries with their command ranges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "makefile/make_lines.h"
#include "os/platform.h"

namespace vexel {

// One target line as read, or the root entry that holds the command lines
// before the first target line (its Target and Depends empty).
struct TargetEntry {
    std::string Target;               // as written, quotes included
    std::vector<std::string> Depends; // in line order, as written
    int32_t CmdFirst = -1;            // the range of its command lines in
    int32_t CmdLast = -1;             // MakeLines; -1 when it has none
};

enum class ReadError { None, TargetLineSyntax, DupTarget };

struct ReadOutcome {
    ReadError error = ReadError::None;
    std::string dupTarget; // with DupTarget: the repeated target as written
};

// Loads the whole named file into lines. False on any failure, lack of
// memory for a large file included.
bool LoadMakefile(FileSystem& files, const std::string& fileName, MakeLines& lines);

// Appends the root entry, then one entry per target line in file order, each
// with its command range. Stops at the first target line without a target,
// or whose target was named before, byte for byte; that line's entry is not
// appended.
ReadOutcome ReadTargets(const MakeLines& lines, const LeadByteSet& leadBytes,
                        std::vector<TargetEntry>& entries);

} // namespace vexel
