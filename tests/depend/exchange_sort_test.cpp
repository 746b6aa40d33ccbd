// The exchange sort, both ways of scanning, against the procedure written
// plainly.
#include <gtest/gtest.h>

#include <random>

#include "depend/exchange_sort.h"
#include "depend/plain_exchange_sort.h"

namespace vexel {
namespace {

using Keys = std::vector<SortKey>;

// The keys as the plain procedure leaves them: the root record first, then
// the Levels of the others.
Keys PlainOrder(const Keys& levels) {
    std::vector<SortKey> order{RootKey};
    order.insert(order.end(), levels.begin(), levels.end());
    PlainExchangeSort(order, 0, static_cast<long>(order.size()) - 1, [](SortKey a, SortKey b) {
        return PlainCompareDepends(a == RootKey, a, b == RootKey, b);
    });
    return order;
}

Keys Apply(const Keys& keys, const std::vector<std::size_t>& from) {
    Keys order;
    for (const std::size_t index : from)
        order.push_back(keys[index]);
    return order;
}

TEST(ExchangeSort, BothWaysOfScanningSortLikeThePlainProcedure) {
    // Levels after the root record, of random lists and of valleys: Levels
    // descending then ascending, which make scanning quadratic.
    std::vector<Keys> cases;
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        Keys levels(1 + random() % (round < 1800 ? 13 : 400));
        for (SortKey& level : levels)
            level = static_cast<SortKey>(random() % (round % 2 ? 4 : 40));
        cases.push_back(levels);
    }
    for (const int size : {3, 40, 1201, 1500}) {
        Keys valley;
        for (int i = 0; i < size; ++i)
            valley.push_back(std::abs(i - size / 2));
        cases.push_back(valley);
    }
    for (const Keys& levels : cases) {
        Keys keys{RootKey};
        keys.insert(keys.end(), levels.begin(), levels.end());
        const Keys plain = PlainOrder(levels);
        const auto scanned = ExchangeSortByScanning(keys, UINT64_MAX);
        ASSERT_TRUE(scanned.has_value());
        ASSERT_EQ(Apply(keys, *scanned), plain) << testing::PrintToString(levels);
        ASSERT_EQ(Apply(keys, ExchangeSortBySearching(keys)), plain)
            << testing::PrintToString(levels);
    }
}

TEST(ExchangeSort, ScanningGivesUpPastItsBudget) {
    Keys valley{RootKey};
    for (int i = 0; i < 1000; ++i)
        valley.push_back(std::abs(i - 500));
    EXPECT_FALSE(ExchangeSortByScanning(valley, 100000).has_value());
    EXPECT_TRUE(ExchangeSortByScanning(valley, 200000).has_value());
}

} // namespace
} // namespace vexel
