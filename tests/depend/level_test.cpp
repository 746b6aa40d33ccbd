// SetStale and Levels on a chain longer than any call stack, where the
// longest chain of dependents counts. What they mark and the Levels that
// order the build are checked against the plain recursive procedure by
// fuzz_run.
#include <gtest/gtest.h>

#include <vector>

#include "depend/level.h"
#include "depend/set_stale.h"

namespace vexel {
namespace {

TEST(SetLevels, TheLongestChainCountsOnAChainOfAMillionRecords) {
    const std::size_t count = 1000000;
    std::vector<TDepend> records(count);
    // Each record is made from the one before it, and the first also
    // directly from the last: the longer way counts. From the first, both
    // walk the whole chain.
    std::vector<std::vector<TDepend*>> dependents(count);
    for (std::size_t i = 0; i + 1 < count; ++i)
        dependents[i].push_back(&records[i + 1]);
    dependents[0].push_back(&records[count - 1]);
    for (std::size_t i = 0; i < count; ++i)
        records[i].Dependents = dependents[i];
    SetStale(records.front());
    SetLevels(records);
    EXPECT_TRUE(records.back().Stale);
    EXPECT_EQ(records.front().Level, static_cast<int32_t>(count - 1));
    EXPECT_EQ(records.back().Level, 0);
}

} // namespace
} // namespace vexel
