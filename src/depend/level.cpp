#include "depend/level.h"

#include <vector>

namespace vexel {

void SetLevels(std::span<TDepend> records) {
    // Each record's Level once all its dependents have theirs: depth first
    // with a stack of its own, each record entered once.
    std::vector<char> done(records.size(), 0);
    auto indexOf = [&](const TDepend* record) {
        return static_cast<std::size_t>(record - records.data());
    };
    struct Frame {
        TDepend* record;
        std::size_t next; // the next of its dependents
    };
    std::vector<Frame> stack;
    for (TDepend& start : records) {
        if (!start.Stale || done[indexOf(&start)]) continue;
        stack.push_back({&start, 0});
        while (!stack.empty()) {
            Frame& frame = stack.back();
            TDepend& record = *frame.record;
            if (frame.next < record.Dependents.size()) {
                TDepend* dependent = record.Dependents[frame.next];
                if (!done[indexOf(dependent)]) {
                    stack.push_back({dependent, 0});
                    continue;
                }
                if (dependent->Level >= record.Level) record.Level = dependent->Level + 1;
                ++frame.next;
                continue;
            }
            done[indexOf(&record)] = 1;
            stack.pop_back();
        }
    }
}

} // namespace vexel
