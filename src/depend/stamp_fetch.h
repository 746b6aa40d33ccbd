// Reading many files' age stamps at once: the file system answers a few
// questions at a time faster than one after another.
#pragma once

#include <span>
#include <vector>

#include "makefile/makefile_names.h"
#include "os/platform.h"

namespace vexel {

// Below this many files per thread no thread is started (the benchmark's
// stat floor shares its work the same way).
constexpr std::size_t FilesPerStampThread = 512;

// The number of threads that share a fetch: the hardware's, at least 2 and
// at most 8.
unsigned StampThreads();

// The stamps of the files whose names are given by id, in the same order,
// each file asked once. With many files the work is shared by up to threads
// threads (the calling one included); a thread that cannot be started leaves
// its share to the others. files must answer FileAgeStamp from several
// threads at once.
std::vector<AgeStamp> FetchStamps(FileSystem& files, const MakefileNames& names,
                                  std::span<const NameId> paths, unsigned threads);

} // namespace vexel
