// The build order: the root record first, then higher Level first, equal
// Levels in the order the exchange sort leaves them.
#include <gtest/gtest.h>

#include "depend/build_order.h"
#include "depend/records.h"

namespace vexel {
namespace {

// The records in list order: "|" for the root record, then A, B, C, ...
std::string Order(const DependList& records) {
    std::string order;
    for (const TDepend* r : records)
        order += r->Target == NoName ? '|' : static_cast<char>('A' + r->Target);
    return order;
}

TEST(BuildOrder, KeepsTheExchangeSortsOrderOfEqualLevels) {
    using Levels = std::vector<int32_t>;
    // Levels of records A, B, C, ... after the root record; their order.
    const std::pair<Levels, std::string> cases[] = {{{0}, "|A"},
                                                    {{0, 0}, "|BA"},
                                                    {{0, 0, 0}, "|CBA"},
                                                    {{0, 0, 0, 0}, "|CDAB"},
                                                    {{0, 0, 0, 0, 0}, "|DECAB"},
                                                    {{0, 1, 2}, "|CBA"},
                                                    {{2, 1, 0}, "|ABC"},
                                                    {{0, 1, 0, 1}, "|DBAC"},
                                                    {{1, 0, 1, 0}, "|CADB"}};
    for (const auto& [levels, expected] : cases) {
        std::vector<TDepend> records(levels.size() + 1);
        for (std::size_t i = 1; i < records.size(); ++i) {
            records[i].Target = static_cast<NameId>(i - 1);
            records[i].Level = levels[i - 1];
        }
        DependList list = ListOf(records);
        SortDependList(list);
        EXPECT_EQ(Order(list), expected);
    }
}

} // namespace
} // namespace vexel
