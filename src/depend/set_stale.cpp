#include "depend/set_stale.h"

namespace vexel {

void SetStale(TDepend& start) {
    // Depth first with a stack of its own: a chain of dependents may be as
    // long as the makefile.
    start.Stale = true;
    std::vector<TDepend*> stack{&start};
    while (!stack.empty()) {
        const TDepend* record = stack.back();
        stack.pop_back();
        for (TDepend* dependent : record->Dependents) {
            if (dependent->Stale) continue;
            dependent->Stale = true;
            stack.push_back(dependent);
        }
    }
}

} // namespace vexel
