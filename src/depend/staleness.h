// Staleness by the age stamps of target and dependency files.
#pragma once

#include <cstdint>

#include "base/text.h"
#include "depend/target_record.h"
#include "os/platform.h"

namespace vexel {

// Whether a dependency's stamp makes a target with targetStamp stale. Stamps
// compare as unsigned numbers, so that dates from 2044 on stay newer than
// earlier ones; a missing dependency never makes a target stale.
inline bool IsNewer(int32_t dependencyStamp, int32_t targetStamp) {
    return dependencyStamp != NoStamp &&
           static_cast<uint32_t>(dependencyStamp) > static_cast<uint32_t>(targetStamp);
}

// Marks with SetStale, in list order, every target record whose file is
// missing or older than one of its dependencies. Every file's stamp is read
// once, by its unquoted name (which joins the name table), before the
// marking, shared by up to threads threads. The list must still be in
// makefile order, the root record first.
void MarkStaleTargets(DependList& dependList, MakefileNames& names, FileSystem& files,
                      const LeadByteSet& leadBytes, unsigned threads);

} // namespace vexel
