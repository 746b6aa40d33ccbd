// Staleness by the age stamps of target and dependency files.
#pragma once

#include "base/text.h"
#include "depend/target_graph.h"
#include "os/platform.h"

namespace vexel {

// Marks with SetStale, in makefile order, every target record whose file is
// missing or is a directory, or was written earlier than one of its
// dependency files (times compared in UTC at the file system's resolution;
// equal times are up to date, and a missing dependency never makes an
// existing target stale). Every file's stamp is read once, by its unquoted
// name (which joins the name table), before the marking, shared by up to
// threads threads.
void MarkStaleTargets(TargetGraph& graph, FileSystem& files, const LeadByteSet& leadBytes,
                      unsigned threads);

} // namespace vexel
