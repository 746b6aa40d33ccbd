// Staleness by the age stamps of target and dependency files.
#pragma once

#include "depend/file_stamps.h"
#include "depend/target_graph.h"

namespace vexel {

// Marks with SetStale, in makefile order, every target record whose file is
// missing or is a directory, or was written earlier than one of its
// dependency files (times compared in UTC at the file system's resolution;
// equal times are up to date, and a missing dependency never makes an
// existing target stale). The stamps are those of the reading the graph
// was made from, every file's read once, before the marking.
void MarkStaleTargets(TargetGraph& graph, const FileStampTable& stamps);

} // namespace vexel
