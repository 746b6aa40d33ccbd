// Reading the makefile: its text into MakeLines, its target lines into
// target records with their command ranges, every name into one table.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "makefile/make_lines.h"
#include "makefile/makefile_names.h"
#include "makefile/target_record.h"
#include "os/platform.h"
#include "report/failure.h"

namespace vexel {

// What the target lines of a makefile say, as records not linked yet: the
// target graph takes them whole, and links them as it is made. Names are as
// written, quotes included.
struct MakefileTargets {
    MakefileNames names;
    // Every record's Depends, record after record, in blocks that are never
    // resized once written to, so that each record views its names from the
    // start.
    std::vector<std::vector<NameId>> dependBlocks;
    std::vector<TDepend> records; // the root record first, then one per target line
};

// Loads the whole named file into lines. "MakeFile Open Error" on any
// failure, lack of memory for a large file included.
std::optional<Failure> LoadMakefile(FileSystem& files, const std::string& fileName,
                                    MakeLines& lines);

// Told of each name the first time the reader meets it, in the order met,
// while the reading goes on, so that work on the names can start early.
class NameWatcher {
public:
    virtual void NameMet(NameId id, std::string_view name) = 0;

protected:
    ~NameWatcher() = default;
};

// Makes the root record, then one record per target line in file order,
// each with its names and its command range. Stops at the first target line without a target
// ("Target Line Syntax error"), or whose target was named before, byte for
// byte ("Dup Target " and the target as written); that line's record is not
// made. The names are views into lines, which must outlive targets. A
// watcher, if given, is told of each new name.
std::optional<Failure> ReadTargets(const MakeLines& lines, const LeadByteSet& leadBytes,
                                   MakefileTargets& targets, NameWatcher* watcher = nullptr);

} // namespace vexel
