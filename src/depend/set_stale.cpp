#include "depend/set_stale.h"

namespace vexel {

void SetStale(TDepend& start) {
    start.Stale = true;
    // A depth-first walk with its own stack: a chain of dependents may be as
    // long as the makefile. A dependent that is already stale has its final
    // Level and is not entered again, so each record is walked once.
    struct Frame {
        TDepend* record;
        std::size_t next;
    };
    std::vector<Frame> stack{{&start, 0}};
    while (!stack.empty()) {
        TDepend* record = stack.back().record;
        const std::span<TDepend* const> dependents = record->Dependents;
        std::size_t& next = stack.back().next;
        if (next == dependents.size()) {
            stack.pop_back();
            continue;
        }
        TDepend* dependent = dependents[next];
        if (!dependent->Stale) {
            dependent->Stale = true;
            stack.push_back({dependent, 0});
            continue;
        }
        if (dependent->Level >= record->Level) record->Level = dependent->Level + 1;
        ++next;
    }
}

} // namespace vexel
