#include "depend/build_order.h"

#include <utility>
#include <vector>

namespace vexel {

int CompareDepends(const TDepend& a, const TDepend& b) {
    if (a.Target.empty()) return -1;
    if (b.Target.empty()) return 1;
    if (a.Level == b.Level) return 0;
    return a.Level < b.Level ? 1 : -1;
}

void SortDependList(DependList& dependList) {
    if (dependList.size() < 2) return;
    using Index = std::ptrdiff_t;
    auto at = [&](Index index) -> const TDepend& {
        return *dependList[static_cast<std::size_t>(index)];
    };
    // The ranges waiting to be sorted. They never overlap, so the order in
    // which they are taken does not change the result.
    std::vector<std::pair<Index, Index>> ranges{{0, static_cast<Index>(dependList.size()) - 1}};
    while (!ranges.empty()) {
        auto [left, right] = ranges.back();
        ranges.pop_back();
        for (;;) {
            Index i = left;
            Index j = right;
            const TDepend& pivot = at((left + right) / 2);
            do {
                // The bounds never stop a scan on a list whose root record
                // stands first; they only keep a malformed list in range.
                while (i < right && CompareDepends(at(i), pivot) < 0)
                    ++i;
                while (j > left && CompareDepends(at(j), pivot) > 0)
                    --j;
                if (i <= j) {
                    std::swap(dependList[static_cast<std::size_t>(i)],
                              dependList[static_cast<std::size_t>(j)]);
                    ++i;
                    --j;
                }
            } while (i <= j);
            if (left < j) ranges.emplace_back(left, j);
            if (i >= right) break;
            left = i;
        }
    }
}

} // namespace vexel
