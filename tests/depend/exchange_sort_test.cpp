// The exchange sort of the build order, both ways of scanning, against the
// procedure written plainly: the order it leaves equal Levels in is the
// order in which their commands run, so identities are compared, not keys.
#include <gtest/gtest.h>

#include <random>

#include "depend/exchange_sort.h"
#include "depend/plain_exchange_sort.h"

namespace vexel {
namespace {

using Keys = std::vector<LevelKey>;
using Order = std::vector<std::size_t>; // entries by their index before the sort

// The root record's key, then the Levels of the records after it.
Keys WithRoot(const Keys& levels) {
    Keys keys{RootKey};
    keys.insert(keys.end(), levels.begin(), levels.end());
    return keys;
}

// Levels descending then ascending, which make scanning quadratic.
Keys Valley(int size) {
    Keys valley;
    for (int i = 0; i < size; ++i)
        valley.push_back(std::abs(i - size / 2));
    return valley;
}

Order PlainOrder(const Keys& keys) {
    std::vector<std::pair<LevelKey, std::size_t>> entries;
    for (std::size_t i = 0; i < keys.size(); ++i)
        entries.emplace_back(keys[i], i);
    PlainExchangeSort(entries, 0, static_cast<long>(entries.size()) - 1, [](auto a, auto b) {
        return PlainCompareDepends(a.first == RootKey, a.first, b.first == RootKey, b.first);
    });
    Order order;
    for (const auto& entry : entries)
        order.push_back(entry.second);
    return order;
}

TEST(ExchangeSort, BothWaysOfScanningSortLikeThePlainProcedure) {
    // Levels of random lists, and of valleys.
    std::vector<Keys> cases;
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        Keys levels(1 + random() % (round < 1800 ? 13 : 400));
        for (LevelKey& level : levels)
            level = static_cast<LevelKey>(random() % (round % 2 ? 4 : 40));
        cases.push_back(levels);
    }
    for (const int size : {3, 40, 1201, 1500})
        cases.push_back(Valley(size));
    for (const Keys& levels : cases) {
        const Keys keys = WithRoot(levels);
        const Order plain = PlainOrder(keys);
        ASSERT_EQ(ExchangeSortByScanning(keys, UINT64_MAX), plain)
            << testing::PrintToString(levels);
        ASSERT_EQ(ExchangeSortBySearching(keys), plain) << testing::PrintToString(levels);
    }
}

TEST(ExchangeSort, ScanningGivesUpPastItsBudget) {
    EXPECT_FALSE(ExchangeSortByScanning(WithRoot(Valley(1000)), 100000).has_value());
    EXPECT_TRUE(ExchangeSortByScanning(WithRoot(Valley(1000)), 200000).has_value());
}

} // namespace
} // namespace vexel
