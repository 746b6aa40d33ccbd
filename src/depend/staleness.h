// Staleness by the age stamps of target and dependency files.
#pragma once

#include "depend/file_stamps.h"
#include "depend/target_graph.h"

namespace vexel {

// Marks with SetStale, in makefile order, every target record whose file is
// missing or is a directory, or was written earlier than one of its
// dependency files (times compared in UTC at the file system's resolution;
// equal times are up to date, and a missing dependency never makes an
// existing target stale). Every file's stamp is read once, by its unquoted
// name (which joins the name table), before the marking. files must have
// watched the reading of the graph's records; it has asked for most files
// already.
void MarkStaleTargets(TargetGraph& graph, FileStamps& files);

} // namespace vexel
