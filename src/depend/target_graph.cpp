#include "depend/target_graph.h"

#include <algorithm>
#include <utility>

#include "depend/match_keys.h"

namespace vexel {

TargetGraph::TargetGraph(MakefileTargets read, NameRules& rules) : read_(std::move(read)) {
    if (read_.records.empty()) read_.records.emplace_back();
    Root().Stale = true;
    LinkDependents(rules);
}

DependList TargetGraph::MakefileOrder() {
    DependList order;
    order.reserve(read_.records.size());
    for (TDepend& record : read_.records)
        order.push_back(&record);
    return order;
}

void TargetGraph::LinkDependents(NameRules& rules) {
    // The group of each key that a target has; the keys and groups of names
    // are needed only here.
    const MatchKeys keys = MatchKeyIds(Names(), rules);
    const std::vector<NameId>& keyOfName = keys.keyOfName;
    std::vector<Group> groupOfKey(keys.count, NoGroup);
    groupOfRecord_.assign(read_.records.size(), NoGroup);
    Group groups = 0;
    const std::span<TDepend> targets = Targets();
    for (std::size_t j = 0; j < targets.size(); ++j) {
        Group& group = groupOfKey[keyOfName[targets[j].Target]];
        if (group == NoGroup) group = groups++;
        groupOfRecord_[j + 1] = group;
    }

    // Each record's named groups, a group named twice by one record once:
    // counted first, then filled in, so that the links are one array.
    std::vector<std::size_t> lastNamedBy(static_cast<std::size_t>(groups), 0);
    auto forEachNamed = [&](auto visit) {
        std::fill(lastNamedBy.begin(), lastNamedBy.end(), 0);
        for (std::size_t j = 0; j < targets.size(); ++j) {
            for (const NameId name : targets[j].Depends) {
                const Group group = groupOfKey[keyOfName[name]];
                if (group == NoGroup || lastNamedBy[group] == j + 1) continue;
                lastNamedBy[group] = j + 1;
                visit(group, targets[j]);
            }
        }
    };
    linkStart_.assign(static_cast<std::size_t>(groups) + 1, 0);
    forEachNamed([&](Group group, TDepend&) { ++linkStart_[group + 1]; });
    for (std::size_t g = 0; g < static_cast<std::size_t>(groups); ++g)
        linkStart_[g + 1] += linkStart_[g];
    links_.assign(linkStart_.back(), nullptr);
    std::vector<std::size_t> fill(linkStart_.begin(), linkStart_.end() - 1);
    forEachNamed([&](Group group, TDepend& record) { links_[fill[group]++] = &record; });

    for (TDepend& record : targets)
        record.Dependents = DependentsOf(GroupOf(record));
}

} // namespace vexel
