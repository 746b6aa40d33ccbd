// The target graph of a makefile's text, for the tests of the analysis.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "depend/target_graph.h"
#include "fakes/fake_platform.h"

namespace vexel {

// The graph of a makefile that reads without error, names matched without
// regard to ASCII case, with the lines whose text its names view; watcher,
// if given, watches the reading.
struct GraphOfMakefile {
    explicit GraphOfMakefile(const std::string& text, NameWatcher* watcher = nullptr) {
        lines.Assign(text);
        MakefileTargets read;
        EXPECT_FALSE(ReadTargets(lines, LeadByteSet{}, read, watcher)) << text;
        FakeNames rules;
        graph.emplace(std::move(read), rules);
    }

    std::string Name(NameId id) const {
        return id == NoName ? "" : std::string(graph->Names()[id]);
    }
    // Record i, the root record being 0.
    TDepend& operator[](std::size_t i) { return graph->Records()[i]; }

    MakeLines lines;
    std::optional<TargetGraph> graph;
};

} // namespace vexel
