// Levels: the longest chain of dependents counts, and a chain longer than
// any call stack leaves it alone. The Levels that order the build are
// checked against the plain recursive procedure by fuzz_run.
#include <gtest/gtest.h>

#include <vector>

#include "depend/level.h"

namespace vexel {
namespace {

TEST(SetLevels, TheLongestChainCountsOnAChainOfAMillionRecords) {
    const std::size_t count = 1000000;
    std::vector<TDepend> records(count);
    // Each record is made from the one before it, and the first also
    // directly from the last: the longer way counts.
    std::vector<std::vector<TDepend*>> dependents(count);
    for (std::size_t i = 0; i + 1 < count; ++i)
        dependents[i].push_back(&records[i + 1]);
    dependents[0].push_back(&records[count - 1]);
    for (std::size_t i = 0; i < count; ++i) {
        records[i].Dependents = dependents[i];
        records[i].Stale = true;
    }
    SetLevels(records);
    EXPECT_EQ(records.front().Level, static_cast<int32_t>(count - 1));
    EXPECT_EQ(records[count - 2].Level, 1);
    EXPECT_EQ(records.back().Level, 0);
}

} // namespace
} // namespace vexel
