#include "depend/staleness.h"

#include "depend/set_stale.h"

namespace vexel {

void MarkStaleTargets(TargetGraph& graph, FileStamps& files) {
    // No command runs while stamps are read, so each file is asked once, all
    // of them before the marking, which only reads the answers.
    files.AwaitStamps(graph.Names());

    for (TDepend& record : graph.Targets()) {
        const AgeStamp& targetStamp = files.StampOf(record.Target);
        if (!targetStamp.HasTime()) {
            SetStale(record);
            continue;
        }
        for (const NameId name : record.Depends) {
            if (files.StampOf(name).IsLaterThan(targetStamp)) {
                SetStale(record);
                break;
            }
        }
    }
}

} // namespace vexel
