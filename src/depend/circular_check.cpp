#include "depend/circular_check.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "base/name_table.h"

namespace vexel {

namespace {

// Targets that match one another form one node: a name that matches one of
// them matches them all, so they have the same dependents. An edge runs from
// a node to the node of each record that names it.
struct TargetGraph {
    std::vector<int> nodeOfRecord;       // by list index; -1 for the root
    std::vector<std::size_t> namedStart; // by list index, into namedNodes
    std::vector<int> namedNodes;         // nodes that each record's names match
    std::vector<std::size_t> edgeStart;  // by node, into edgeRecords
    std::vector<int> edgeRecords;        // list indexes of the naming records
    int nodeCount = 0;

    std::span<const int> NamedBy(std::size_t record) const {
        return std::span<const int>(namedNodes)
            .subspan(namedStart[record], namedStart[record + 1] - namedStart[record]);
    }
};

TargetGraph BuildGraph(const DependList& dependList, NameRules& names) {
    TargetGraph graph;
    const std::size_t count = dependList.size();
    graph.nodeOfRecord.assign(count, -1);
    graph.namedStart.assign(count + 1, 0);

    NameTable<std::string> nodeOfKey;
    for (std::size_t j = 1; j < count; ++j) {
        bool added = false;
        graph.nodeOfRecord[j] = nodeOfKey.Insert(names.MatchKey(dependList[j]->Target), added);
    }
    graph.nodeCount = static_cast<int>(nodeOfKey.Count());

    std::vector<std::size_t> edgesOfNode(static_cast<std::size_t>(graph.nodeCount), 0);
    // A record that names one target twice depends on it once.
    std::vector<std::size_t> lastNamedBy(static_cast<std::size_t>(graph.nodeCount), 0);
    for (std::size_t j = 1; j < count; ++j) {
        graph.namedStart[j] = graph.namedNodes.size();
        for (const std::string& name : dependList[j]->Depends) {
            const int node = nodeOfKey.Find(names.MatchKey(name));
            if (node == NameTable<std::string>::Missing) continue; // a source file
            if (lastNamedBy[node] == j) continue;
            lastNamedBy[node] = j;
            graph.namedNodes.push_back(node);
            ++edgesOfNode[node];
        }
    }
    graph.namedStart[count] = graph.namedNodes.size();

    graph.edgeStart.assign(static_cast<std::size_t>(graph.nodeCount) + 1, 0);
    for (int node = 0; node < graph.nodeCount; ++node) {
        graph.edgeStart[node + 1] = graph.edgeStart[node] + edgesOfNode[node];
    }
    graph.edgeRecords.resize(graph.edgeStart.back());
    std::vector<std::size_t> fill(graph.edgeStart.begin(), graph.edgeStart.end() - 1);
    for (std::size_t j = 1; j < count; ++j) {
        for (int node : graph.NamedBy(j))
            graph.edgeRecords[fill[node]++] = static_cast<int>(j);
    }
    return graph;
}

// Strongly connected components of the node graph (Tarjan's method, with an
// explicit stack so that long chains cannot exhaust the call stack).
std::vector<int> ComponentOfNode(const TargetGraph& graph) {
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
                const int next = graph.nodeOfRecord[graph.edgeRecords[frame.edge++]];
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

const TDepend* CheckCircularAndLinkDependents(DependList& dependList, NameRules& names) {
    const TargetGraph graph = BuildGraph(dependList, names);
    const std::vector<int> component = ComponentOfNode(graph);

    // A record lies on a cycle exactly when a node that it names can be
    // reached from its own node, that is, when both share a component (or
    // are the same node).
    for (std::size_t j = 1; j < dependList.size(); ++j) {
        const int own = component[graph.nodeOfRecord[j]];
        for (int node : graph.NamedBy(j)) {
            if (component[node] == own) return dependList[j].get();
        }
    }

    std::vector<std::shared_ptr<const DependentList>> listOfNode(
        static_cast<std::size_t>(graph.nodeCount));
    for (int node = 0; node < graph.nodeCount; ++node) {
        const std::size_t first = graph.edgeStart[node];
        const std::size_t last = graph.edgeStart[node + 1];
        if (first == last) continue;
        auto list = std::make_shared<DependentList>();
        list->reserve(last - first);
        for (std::size_t edge = first; edge < last; ++edge) {
            list->push_back(dependList[graph.edgeRecords[edge]].get());
        }
        listOfNode[node] = std::move(list);
    }
    for (std::size_t j = 1; j < dependList.size(); ++j) {
        dependList[j]->Dependents = listOfNode[graph.nodeOfRecord[j]];
    }
    return nullptr;
}

} // namespace vexel
