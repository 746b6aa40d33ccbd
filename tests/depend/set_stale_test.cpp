// SetStale and Levels: staleness passed on through the dependents, and the
// longest chain of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "depend/graph_of_makefile.h"
#include "depend/level.h"
#include "depend/set_stale.h"

namespace vexel {
namespace {

// Each record's Dependents, kept as long as the records use them.
std::deque<std::vector<TDepend*>> lists;

void Link(TDepend& record, std::vector<TDepend*> dependents) {
    record.Dependents = lists.emplace_back(std::move(dependents));
}

TEST(SetStale, MarksWhatIsMadeFromItAndLevelsGiveTheLongestChain) {
    struct Case {
        const char* name;
        std::string makefile;
        std::vector<std::string> marked; // the targets given to SetStale, in turn
        std::vector<int> levels;         // each target's Level, in line order; -1: not stale
    };
    // clang-format off
    const Case cases[] = {
        {.name = "what is made from it only", .makefile = "a: b\nb: c\nc: x\n", .marked = {"b"},
         .levels = {0, 1, -1}},
        {.name = "the short link first", .makefile = "a: d c\nb: d\nc: b\nd: x\ne: x\n",
         .marked = {"d"}, .levels = {0, 2, 1, 3, -1}},
        {.name = "marked twice", .makefile = "a: b\nb: x\n", .marked = {"b", "b"},
         .levels = {0, 1}}};
    // clang-format on
    for (const Case& c : cases) {
        GraphOfMakefile g(c.makefile);
        for (const std::string& target : c.marked)
            SetStale(*std::ranges::find(g.graph->Targets(), target,
                                        [&](const TDepend& r) { return g.Name(r.Target); }));
        SetLevels(g.graph->Targets());
        std::vector<int> levels;
        for (const TDepend& r : g.graph->Targets())
            levels.push_back(r.Stale ? r.Level : r.Level - 1); // fresh: Level stays 0
        EXPECT_EQ(levels, c.levels) << c.name;
    }
}

TEST(SetStale, AChainOfAMillionRecordsLeavesTheCallStackAlone) {
    const std::size_t count = 1000000;
    std::vector<TDepend> chain(count);
    for (std::size_t i = 1; i < count; ++i)
        Link(chain[i], {&chain[i - 1]});
    SetStale(chain.back());
    SetLevels(chain);
    EXPECT_EQ(chain.back().Level, static_cast<int32_t>(count - 1));
    EXPECT_TRUE(chain.front().Stale && chain.front().Level == 0);
}

} // namespace
} // namespace vexel
