// SetStale on a chain longer than any call stack. What it marks is checked
// against the plain recursive marking by fuzz_run.
#include <gtest/gtest.h>

#include <deque>

#include "depend/set_stale.h"

namespace vexel {
namespace {

// Each record's Dependents, kept as long as the records use them.
std::deque<std::vector<TDepend*>> lists;

void Link(TDepend& record, std::vector<TDepend*> dependents) {
    record.Dependents = lists.emplace_back(std::move(dependents));
}

TEST(SetStale, AChainOfAMillionRecordsLeavesTheCallStackAlone) {
    const std::size_t count = 1000000;
    std::vector<TDepend> chain(count);
    // Each record is made from the one before it: from the first, SetStale
    // walks the whole chain.
    for (std::size_t i = 0; i + 1 < count; ++i)
        Link(chain[i], {&chain[i + 1]});
    SetStale(chain.front());
    EXPECT_TRUE(chain.back().Stale);
}

} // namespace
} // namespace vexel
