// SetStale and Levels: staleness passed on through the dependents, and the
// longest chain of them.
#include <gtest/gtest.h>

#include <deque>

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
    using Ints = std::vector<int>;
    struct Case {
        const char* name;
        std::vector<Ints> links; // each record's Dependents, by index
        Ints marked;             // the records given to SetStale, in turn
        Ints levels;             // each record's Level; -1: not stale
    };
    // clang-format off
    const Case cases[] = {
        {.name = "downstream only", .links = {{}, {0}, {1}}, .marked = {1}, .levels = {0, 1, -1}},
        {.name = "the short link first", .links = {{}, {2}, {0}, {0, 1}, {}}, .marked = {3},
         .levels = {0, 2, 1, 3, -1}},
        {.name = "marked again", .links = {{}, {0, 0}}, .marked = {1, 1}, .levels = {0, 1}}};
    // clang-format on
    for (const Case& c : cases) {
        std::vector<TDepend> records(c.links.size());
        for (std::size_t i = 0; i < records.size(); ++i) {
            std::vector<TDepend*> list;
            for (int d : c.links[i])
                list.push_back(&records[static_cast<std::size_t>(d)]);
            Link(records[i], list);
        }
        for (int m : c.marked)
            SetStale(records[static_cast<std::size_t>(m)]);
        SetLevels(records);
        Ints levels;
        for (const TDepend& r : records)
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
