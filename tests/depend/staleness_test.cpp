// Staleness by age stamps: unsigned comparison, each file asked once, and
// the same outcome whether the stamps are fetched by one thread or several.
#include <gtest/gtest.h>

#include <random>

#include "depend/records.h"
#include "depend/staleness.h"
#include "depend/stamp_fetch.h"
#include "fakes/fake_platform.h"

namespace vexel {
namespace {

TEST(Staleness, ComparesStampsAsUnsignedAndAsksEachFileOnce) {
    using Asked = std::map<std::string, int>;
    // 1 January 2030, 2050 and 2051, 12:00, packed; from 2044 on a stamp is negative.
    const int32_t y2030 = 0x64216000, y2050 = static_cast<int32_t>(0x8C216000u),
                  y2051 = static_cast<int32_t>(0x8E216000u);
    // Stamps of "my out" and "in", then whether "my out" is stale.
    const std::tuple<int32_t, int32_t, bool> cases[] = {
        {y2050, y2030, false}, {y2030, y2050, true},  {y2050, NoStamp, false},
        {y2050, y2051, true},  {y2051, y2050, false}, {NoStamp, NoStamp, true}};
    for (const auto& [out, in, stale] : cases) {
        FakeFiles files;
        Makefile makefile("\"my out\": x 'in' in \"in\"\nmy out: in\n");
        files.stamps = {{"my out", out}, {"in", in}};
        MarkStaleTargets(makefile.records, makefile.targets.names, files, {}, 1);
        EXPECT_EQ(makefile.records[1]->Stale, stale) << out << " " << in;
        // Each file once, by its unquoted name.
        EXPECT_EQ(files.stampQueries, (Asked{{"in", 1}, {"my out", 1}, {"x", 1}}));
    }
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
        if (random() % 10 != 0) files.stamps[Name('t', t)] = random() % 40;
    }
    for (int s = 0; s < 50; ++s)
        files.stamps[Name('s', s)] = random() % 40;
    std::vector<int32_t> levels[2];
    for (const unsigned threads : {1u, 4u}) {
        Makefile makefile(text);
        // Dependents by hand: each target's records that name it.
        std::vector<std::vector<TDepend*>> dependents(makefile.records.size());
        for (const auto& r : makefile.records)
            for (const NameId name : r->Depends)
                if (makefile.Name(name)[0] == 't')
                    dependents[std::stoul(makefile.Name(name).substr(1)) + 1].push_back(r.get());
        for (std::size_t j = 1; j < makefile.records.size(); ++j)
            makefile.records[j]->Dependents = dependents[j];
        files.stampQueries.clear();
        MarkStaleTargets(makefile.records, makefile.targets.names, files, {}, threads);
        for (const auto& [name, asked] : files.stampQueries)
            ASSERT_EQ(asked, 1) << name;
        EXPECT_EQ(files.stampQueries.size(), 3050u);
        for (const auto& r : makefile.records)
            levels[threads > 1].push_back(r->Stale ? r->Level : -1);
    }
    EXPECT_EQ(levels[0], levels[1]);
    EXPECT_NE(std::count(levels[0].begin(), levels[0].end(), -1), 0) << "some are fresh";
}

} // namespace
} // namespace vexel
