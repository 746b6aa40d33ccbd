// Staleness by age stamps: the same outcome whether the stamps are fetched
// by one thread or several while the makefile is read, each file asked once.
// Which targets are stale, times compared to the nanosecond across 1970 and
// files asked by their unquoted names, is checked against the plain
// procedure by fuzz_run.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "depend/graph_of_makefile.h"
#include "depend/staleness.h"
#include "fakes/fake_platform.h"

namespace vexel {
namespace {

// Targets t0..t2999 in a random web: each names a few earlier targets and
// sources s0..s49.
std::string RandomWeb() {
    std::mt19937 random(11);
    std::string text;
    for (int t = 0; t < 3000; ++t) {
        text.append("t").append(std::to_string(t)).append(":");
        for (int d = 0; d < 3; ++d) {
            const int pick = static_cast<int>(random() % (t + 50));
            text.append(pick < t ? " t" : " s").append(std::to_string(pick < t ? pick : pick - t));
        }
        text.append("\n");
    }
    return text;
}

TEST(Staleness, ManyThreadsGiveTheSerialOutcome) {
    // Times a few quarter seconds apart, so that equal times are frequent,
    // and some files missing.
    FakeFiles files;
    files.stampOf = [](const std::string& name) {
        const auto quarters = static_cast<int32_t>(std::hash<std::string>{}(name) % 44);
        return quarters >= 40 ? AgeStamp() : AgeStamp::At(quarters / 4, quarters % 4 * 250000000);
    };
    std::vector<bool> stale[2];
    for (const unsigned threads : {1u, 4u}) {
        files.stampQueries.clear();
        FileStamps stamps(files, threads);
        GraphOfMakefile g(RandomWeb(), &stamps);
        MarkStaleTargets(*g.graph, stamps.AwaitStamps(g.graph->Names()));
        for (const auto& [name, asked] : files.stampQueries)
            ASSERT_EQ(asked, 1) << name;
        EXPECT_EQ(files.stampQueries.size(), 3050u);
        for (const TDepend& r : g.graph->Targets())
            stale[threads > 1].push_back(r.Stale);
    }
    EXPECT_EQ(stale[0], stale[1]);
    EXPECT_NE(std::count(stale[0].begin(), stale[0].end(), false), 0) << "some are fresh";
}

} // namespace
} // namespace vexel
