#include "depend/circular_check.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace vexel {

namespace {

// The key of every name, as a name id: names that match share one. A name
// that is its own key keeps its id, so ordinary names cost no second hash.
std::vector<NameId> KeysOf(MakefileNames& names, NameRules& rules) {
    const NameId count = names.Count();
    std::vector<NameId> keys(static_cast<std::size_t>(count));
    std::string key;
    for (NameId id = 0; id < count; ++id) {
        rules.MatchKey(names[id], key);
        keys[id] = key == names[id] ? id : names.AddCopy(key);
    }
    return keys;
}

// Targets that match one another form one node: a name that matches one of
// them matches them all, so they have the same dependents. An edge runs from
// a node to each record that names it, once per record; the edges of a node
// are the records' Dependents.
struct TargetGraph {
    std::vector<NameId> keys;           // by name id
    std::vector<int> nodeOfKey;         // by key id; -1: no target has it
    std::vector<std::size_t> edgeStart; // by node, into links
    int nodeCount = 0;

    int NodeOf(NameId name) const { return nodeOfKey[keys[name]]; }
};

TargetGraph BuildGraph(const DependList& dependList, MakefileNames& names, NameRules& rules,
                       std::vector<TDepend*>& links) {
    TargetGraph graph;
    graph.keys = KeysOf(names, rules);
    graph.nodeOfKey.assign(static_cast<std::size_t>(names.Count()), -1);
    const std::size_t count = dependList.size();
    for (std::size_t j = 1; j < count; ++j) {
        int& node = graph.nodeOfKey[graph.keys[dependList[j]->Target]];
        if (node == -1) node = graph.nodeCount++;
    }
    const auto nodes = static_cast<std::size_t>(graph.nodeCount);

    // Each record's named nodes, a node named twice by one record once.
    std::vector<std::size_t> lastNamedBy(nodes, 0);
    auto forEachNamed = [&](auto visit) {
        std::fill(lastNamedBy.begin(), lastNamedBy.end(), 0);
        for (std::size_t j = 1; j < count; ++j) {
            for (const NameId name : dependList[j]->Depends) {
                const int node = graph.NodeOf(name);
                if (node == -1 || lastNamedBy[node] == j) continue; // a source file, a repeat
                lastNamedBy[node] = j;
                visit(node, j);
            }
        }
    };
    graph.edgeStart.assign(nodes + 1, 0);
    forEachNamed([&](int node, std::size_t) { ++graph.edgeStart[node + 1]; });
    for (std::size_t node = 0; node < nodes; ++node)
        graph.edgeStart[node + 1] += graph.edgeStart[node];
    links.assign(graph.edgeStart.back(), nullptr);
    std::vector<std::size_t> fill(graph.edgeStart.begin(), graph.edgeStart.end() - 1);
    forEachNamed([&](int node, std::size_t j) { links[fill[node]++] = dependList[j].get(); });
    return graph;
}

// Strongly connected components of the node graph (Tarjan's method, with an
// explicit stack so that long chains cannot exhaust the call stack).
std::vector<int> ComponentOfNode(const TargetGraph& graph, const std::vector<TDepend*>& links) {
    const auto nodes = static_cast<std::size_t>(graph.nodeCount);
    std::vector<int> order(nodes, -1), low(nodes, 0), component(nodes, -1);
    std::vector<char> onStack(nodes, 0);
    std::vector<int> members;
    struct Frame {
        int node;
        std::size_t edge;
    };
    std::vector<Frame> calls;
    int counter = 0;
    int components = 0;

    auto enter = [&](int node) {
        order[node] = low[node] = counter++;
        members.push_back(node);
        onStack[node] = 1;
        calls.push_back({node, graph.edgeStart[node]});
    };

    for (int start = 0; start < graph.nodeCount; ++start) {
        if (order[start] != -1) continue;
        enter(start);
        while (!calls.empty()) {
            Frame& frame = calls.back();
            const int node = frame.node;
            if (frame.edge < graph.edgeStart[node + 1]) {
                const int next = graph.NodeOf(links[frame.edge++]->Target);
                if (order[next] == -1) {
                    enter(next);
                } else if (onStack[next]) {
                    low[node] = std::min(low[node], order[next]);
                }
                continue;
            }
            calls.pop_back();
            if (low[node] == order[node]) {
                int member;
                do {
                    member = members.back();
                    members.pop_back();
                    onStack[member] = 0;
                    component[member] = components;
                } while (member != node);
                ++components;
            }
            if (!calls.empty()) {
                const int parent = calls.back().node;
                low[parent] = std::min(low[parent], low[node]);
            }
        }
    }
    return component;
}

} // namespace

const TDepend* CheckCircularAndLinkDependents(DependList& dependList, MakefileNames& names,
                                              NameRules& rules, std::vector<TDepend*>& links) {
    const TargetGraph graph = BuildGraph(dependList, names, rules, links);
    const std::vector<int> component = ComponentOfNode(graph, links);

    // A record lies on a cycle exactly when a node that it names can be
    // reached from its own node, that is, when both share a component (or
    // are the same node).
    for (std::size_t j = 1; j < dependList.size(); ++j) {
        const int own = component[graph.NodeOf(dependList[j]->Target)];
        for (const NameId name : dependList[j]->Depends) {
            const int node = graph.NodeOf(name);
            if (node != -1 && component[node] == own) return dependList[j].get();
        }
    }

    const std::span<TDepend* const> all(links);
    for (std::size_t j = 1; j < dependList.size(); ++j) {
        const auto node = static_cast<std::size_t>(graph.NodeOf(dependList[j]->Target));
        dependList[j]->Dependents =
            all.subspan(graph.edgeStart[node], graph.edgeStart[node + 1] - graph.edgeStart[node]);
    }
    return nullptr;
}

} // namespace vexel
