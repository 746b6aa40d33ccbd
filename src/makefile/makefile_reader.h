// Reading the makefile into MakeLines and target records.
#pragma once

#include <string>

#include "depend/depend.h"
#include "makefile/make_lines.h"
#include "os/platform.h"
#include "run/message.h"

namespace vexel {

// Loads the whole named file into lines. Any failure raises: the caller
// reports it as "MakeFile Open Error".
void LoadMakefile(FileSystem& files, const std::string& fileName, MakeLines& lines);

// Builds the root record, one record per target line in file order and their
// command ranges. False after printing "Target Line Syntax error" or
// "Dup Target " + name.
bool ParseMakefile(const MakeLines& lines, DependList& dependList, MessageWriter& out,
                   const LeadByteSet& leadBytes);

} // namespace vexel
