// Staleness by age stamps: unsigned comparison, each file asked once.
#include <gtest/gtest.h>

#include "depend/records.h"
#include "depend/staleness.h"
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
        DependList records = RecordsOf("\"my out\": x 'in' in \"in\"\nmy out: in\n");
        files.stamps = {{"my out", out}, {"in", in}};
        MarkStaleTargets(records, files, LeadByteSet{});
        EXPECT_EQ(records[1]->Stale, stale) << out << " " << in;
        // Each file once, by its unquoted name.
        EXPECT_EQ(files.stampQueries, (out == NoStamp ? Asked{{"my out", 1}}
                                                      : Asked{{"in", 1}, {"my out", 1}, {"x", 1}}));
    }
}

} // namespace
} // namespace vexel
