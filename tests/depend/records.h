// Target records for the tests of the analysis.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "depend/target_graph.h"

namespace vexel {

// The target graph of a makefile that reads without error, with the names
// and lines it views. Made in place: it views itself.
struct Makefile {
    explicit Makefile(const std::string& text) {
        lines.Assign(text);
        EXPECT_FALSE(ReadTargets(lines, LeadByteSet{}, targets)) << text;
        graph.emplace(targets.entries);
    }
    Makefile(const Makefile&) = delete;

    std::string Name(NameId id) const { return id == NoName ? "" : std::string(targets.names[id]); }
    // Record i, the root record being 0.
    TDepend& operator[](std::size_t i) { return graph->Records()[i]; }

    MakeLines lines;
    MakefileTargets targets;
    std::optional<TargetGraph> graph;
};

} // namespace vexel
