// Staleness by age stamps: times compared to the nanosecond, each file asked
// once, and the same outcome whether the stamps are fetched by one thread or
// several.
#include <gtest/gtest.h>

#include <random>

#include "depend/records.h"
#include "depend/staleness.h"
#include "depend/stamp_fetch.h"
#include "fakes/fake_platform.h"

namespace vexel {
namespace {

TEST(Staleness, ComparesTimesToTheNanosecondWhateverTheDate) {
    using Asked = std::map<std::string, int>;
    const AgeStamp none,
        at1601 = AgeStamp::At(-11644473600, 0), before1970 = AgeStamp::At(-1, 999999999),
        at1970 = AgeStamp::At(0, 0), now = AgeStamp::At(1700000000, 500000000),
        quarterLater = AgeStamp::At(1700000000, 750000000),
        oneLater = AgeStamp::At(1700000000, 500000001), secondLater = AgeStamp::At(1700000001, 0),
        at3000 = AgeStamp::At(32503680000, 0);
    // Times of "my out" and "in", then whether "my out" is stale.
    // clang-format off
    const std::tuple<AgeStamp, AgeStamp, bool> cases[] = {
        {now, quarterLater, true},  {quarterLater, now, false},    {now, now, false},
        {now, oneLater, true},      {oneLater, secondLater, true}, {secondLater, oneLater, false},
        {before1970, at1970, true}, {at1970, before1970, false},   {at1601, before1970, true},
        {now, at3000, true},        {at3000, now, false},          {now, none, false},
        {none, now, true},          {none, none, true}};
    // clang-format on
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [out, in, stale] = cases[i];
        FakeFiles files;
        Makefile makefile("\"my out\": x 'in' in \"in\"\nmy out: in\n");
        files.stamps = {{"my out", out}, {"in", in}};
        MarkStaleTargets(*makefile.graph, makefile.targets.names, files, {}, 1);
        EXPECT_EQ(makefile[1].Stale, stale) << "case " << i;
        // Each file once, by its unquoted name.
        EXPECT_EQ(files.stampQueries, (Asked{{"in", 1}, {"my out", 1}, {"x", 1}}));
    }
}

// Times a few quarter seconds apart, so that equal times are frequent.
AgeStamp RandomTime(std::mt19937& random) {
    const auto quarters = static_cast<int32_t>(random() % 40);
    return AgeStamp::At(quarters / 4, quarters % 4 * 250000000);
}

std::string Name(char prefix, int number) {
    return std::string(1, prefix).append(std::to_string(number));
}

TEST(Staleness, ManyThreadsGiveTheSerialOutcome) {
    // Targets t0..t2999 in a random web: each names a few earlier targets
    // and sources; stamps at random, some files missing.
    std::mt19937 random(11);
    std::string text;
    FakeFiles files;
    for (int t = 0; t < 3000; ++t) {
        text.append(Name('t', t)).append(":");
        for (int d = 0; d < 3; ++d) {
            const int pick = static_cast<int>(random() % (t + 50));
            text.append(" ").append(pick < t ? Name('t', pick) : Name('s', pick - t));
        }
        text.append("\n");
        if (random() % 10 != 0) files.stamps[Name('t', t)] = RandomTime(random);
    }
    for (int s = 0; s < 50; ++s)
        files.stamps[Name('s', s)] = RandomTime(random);
    std::vector<bool> stale[2];
    for (const unsigned threads : {1u, 4u}) {
        Makefile makefile(text);
        FakeNames names;
        makefile.graph->LinkDependents(makefile.targets.names, names);
        files.stampQueries.clear();
        MarkStaleTargets(*makefile.graph, makefile.targets.names, files, {}, threads);
        for (const auto& [name, asked] : files.stampQueries)
            ASSERT_EQ(asked, 1) << name;
        EXPECT_EQ(files.stampQueries.size(), 3050u);
        for (const TDepend& r : makefile.graph->Targets())
            stale[threads > 1].push_back(r.Stale);
    }
    EXPECT_EQ(stale[0], stale[1]);
    EXPECT_NE(std::count(stale[0].begin(), stale[0].end(), false), 0) << "some are fresh";
}

} // namespace
} // namespace vexel
