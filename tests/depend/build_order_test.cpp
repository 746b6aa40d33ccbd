// The build order against the exchange sort written plainly.
#include <gtest/gtest.h>

#include <random>

#include "depend/build_order.h"
#include "depend/plain_exchange_sort.h"
#include "depend/records.h"

namespace vexel {
namespace {

// The records in list order: "|" for the root record, a letter for the
// first 26 records (Target 0 is A), a number after them.
std::string Order(const auto& records) {
    std::string order;
    for (const auto& r : records) {
        const NameId t = r->Target;
        order += t == NoName ? "|"
                 : t < 26    ? std::string(1, char('A' + t))
                             : std::to_string(t) + ",";
    }
    return order;
}

TEST(BuildOrder, SortsLikeTheNestedExchangeSort) {
    // Levels of records A, B, C, ... after the root record; their order
    // (random lists have none written here).
    std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "|A"},     {"00", "|BA"},   {"000", "|CBA"},   {"0000", "|CDAB"}, {"00000", "|DECAB"},
        {"012", "|CBA"}, {"210", "|ABC"}, {"0101", "|DBAC"}, {"1010", "|CADB"}};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string levels(1 + random() % (round < 1800 ? 13 : 400), '0');
        for (char& level : levels)
            level = static_cast<char>('0' + random() % (round % 2 ? 4 : 40));
        cases.emplace_back(levels, "");
    }
    // Descending then ascending Levels: scanning would be quadratic, so the
    // sort takes its searching path.
    std::string valley;
    for (int i = 0; i < 1500; ++i)
        valley += static_cast<char>('0' + std::abs(i - 750) / 4);
    cases.emplace_back(valley, "");
    for (const auto& [levels, expected] : cases) {
        DependList records = BlankRecords(levels.size() + 1),
                   searched = BlankRecords(levels.size() + 1);
        std::vector<const TDepend*> literal{records[0].get()};
        for (std::size_t i = 1; i < records.size(); ++i) {
            records[i]->Target = searched[i]->Target = static_cast<NameId>(i - 1);
            records[i]->Level = searched[i]->Level =
                static_cast<unsigned char>(levels[i - 1]) - '0';
            literal.push_back(records[i].get());
        }
        ASSERT_NO_THROW(PlainExchangeSort(literal, 0, static_cast<long>(literal.size()) - 1,
                                          [](auto a, auto b) { return CompareDepends(*a, *b); }));
        SortDependList(records);
        SortDependListBySearching(searched);
        ASSERT_EQ(Order(records), Order(literal)) << levels;
        ASSERT_EQ(Order(searched), Order(literal)) << levels;
        EXPECT_EQ(Order(literal), expected.empty() ? Order(literal) : expected) << levels;
    }
}

} // namespace
} // namespace vexel
