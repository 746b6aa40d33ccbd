#include "depend/build_order.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "depend/exchange_sort.h"
#include "depend/level.h"

namespace vexel {

namespace {

void SortDependList(DependList& dependList, const TDepend& root) {
    if (dependList.size() < 2) return;
    std::vector<LevelKey> keys;
    keys.reserve(dependList.size());
    for (const TDepend* record : dependList)
        keys.push_back(record == &root ? RootKey : record->Level);
    // Far more steps than the sort takes on ordinary lists: past this the
    // order of Levels is one that makes scanning quadratic.
    const uint64_t count = keys.size();
    const uint64_t budget = 8 * count * static_cast<uint64_t>(std::bit_width(count)) + 1024;
    std::optional<std::vector<std::size_t>> from = ExchangeSortByScanning(keys, budget);
    if (!from) from = ExchangeSortBySearching(keys);

    DependList sorted;
    sorted.reserve(dependList.size());
    for (const std::size_t index : *from)
        sorted.push_back(dependList[index]);
    dependList = std::move(sorted);
}

} // namespace

DependList BuildOrder(TargetGraph& graph) {
    DependList order = graph.MakefileOrder();
    // With no target stale, only the root record's commands can run, and it
    // is first either way: the order of the others is never used.
    const std::span<const TDepend> targets = graph.Targets();
    if (std::none_of(targets.begin(), targets.end(), [](const TDepend& r) { return r.Stale; }))
        return order;
    SetLevels(graph.Records());
    SortDependList(order, graph.Root());
    return order;
}

} // namespace vexel
