#include "depend/circular_check.h"

#include <algorithm>
#include <vector>

#include "report/messages.h"

namespace vexel {

namespace {

using Group = TargetGraph::Group;

// The strongly connected components of the groups, an edge running from a
// group to the group of each of its dependents (Tarjan's method, with an
// explicit stack so that long chains cannot exhaust the call stack).
std::vector<int> ComponentOfGroup(const TargetGraph& graph) {
    const std::size_t groups = graph.GroupCount();
    std::vector<int> order(groups, -1), low(groups, 0), component(groups, -1);
    std::vector<char> onStack(groups, 0);
    std::vector<Group> members;
    struct Frame {
        Group group;
        std::size_t edge; // the next of its dependents
    };
    std::vector<Frame> calls;
    int counter = 0;
    int components = 0;

    auto enter = [&](Group group) {
        order[group] = low[group] = counter++;
        members.push_back(group);
        onStack[group] = 1;
        calls.push_back({group, 0});
    };

    for (Group start = 0; start < static_cast<Group>(groups); ++start) {
        if (order[start] != -1) continue;
        enter(start);
        while (!calls.empty()) {
            Frame& frame = calls.back();
            const Group group = frame.group;
            const auto dependents = graph.DependentsOf(group);
            if (frame.edge < dependents.size()) {
                const Group next = graph.GroupOf(*dependents[frame.edge++]);
                if (order[next] == -1) {
                    enter(next);
                } else if (onStack[next]) {
                    low[group] = std::min(low[group], order[next]);
                }
                continue;
            }
            calls.pop_back();
            if (low[group] == order[group]) {
                Group member;
                do {
                    member = members.back();
                    members.pop_back();
                    onStack[member] = 0;
                    component[member] = components;
                } while (member != group);
                ++components;
            }
            if (!calls.empty()) {
                const Group parent = calls.back().group;
                low[parent] = std::min(low[parent], low[group]);
            }
        }
    }
    return component;
}

} // namespace

std::optional<Failure> CheckCircular(const TargetGraph& graph) {
    const std::vector<int> component = ComponentOfGroup(graph);
    // A record lies on a cycle exactly when a group that it names (it is one
    // of the group's dependents) can be reached from its own group, that
    // is, when both share a component (or are the same group). The records
    // lie in makefile order, so the first is the lowest.
    const TDepend* first = nullptr;
    for (Group group = 0; group < static_cast<Group>(graph.GroupCount()); ++group) {
        for (const TDepend* dependent : graph.DependentsOf(group)) {
            if (component[group] == component[graph.GroupOf(*dependent)] &&
                (first == nullptr || dependent < first))
                first = dependent;
        }
    }
    if (first == nullptr) return std::nullopt;
    return Failure(messages::Circular(graph.Names()[first->Target]));
}

} // namespace vexel
