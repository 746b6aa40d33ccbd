#include "depend/staleness.h"

#include "depend/set_stale.h"

namespace vexel {

void MarkStaleTargets(TargetGraph& graph, const FileStampTable& stamps) {
    for (TDepend& record : graph.Targets()) {
        const AgeStamp& targetStamp = stamps.StampOf(record.Target);
        if (!targetStamp.HasTime()) {
            SetStale(record);
            continue;
        }
        for (const NameId name : record.Depends) {
            if (stamps.StampOf(name).IsLaterThan(targetStamp)) {
                SetStale(record);
                break;
            }
        }
    }
}

} // namespace vexel
