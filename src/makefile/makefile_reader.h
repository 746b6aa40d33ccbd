// Reading the makefile: its text into MakeLines, its target lines into plain
// target entries with their command ranges, every name into one table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/text.h"
#include "makefile/make_lines.h"
#include "makefile/makefile_names.h"
#include "os/platform.h"
#include "report/failure.h"

namespace vexel {

// One target line as read, or the root entry that holds the command lines
// before the first target line. Names are as written, quotes included.
struct TargetEntry {
    NameId Target = NoName;          // NoName only for the root entry
    std::span<const NameId> Depends; // in line order; empty for the root entry
    int32_t CmdFirst = -1;           // the range of its command lines in
    int32_t CmdLast = -1;            // MakeLines; -1 when it has none
};

// What the target lines of a makefile say.
struct MakefileTargets {
    MakefileNames names;
    std::vector<NameId> dependNames;  // every entry's Depends, entry after entry
    std::vector<TargetEntry> entries; // the root entry first, then the target lines
};

// Loads the whole named file into lines. "MakeFile Open Error" on any
// failure, lack of memory for a large file included.
std::optional<Failure> LoadMakefile(FileSystem& files, const std::string& fileName,
                                    MakeLines& lines);

// Makes the root entry, then one entry per target line in file order, each
// with its command range. Stops at the first target line without a target
// ("Target Line Syntax error"), or whose target was named before, byte for
// byte ("Dup Target " and the target as written); that line's entry is not
// made. The names are views into lines, which must outlive targets.
std::optional<Failure> ReadTargets(const MakeLines& lines, const LeadByteSet& leadBytes,
                                   MakefileTargets& targets);

} // namespace vexel
