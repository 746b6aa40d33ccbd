#include "table.h"

#include <cstdlib>

namespace vexel::e2e {

TEST_P(TableRow, Runs) {
    const Case& c = GetParam();
    if (c.where == PosixOnly && UnderWine()) GTEST_SKIP() << "POSIX only: " << c.name;
    if (c.where == WineOnly && !UnderWine()) GTEST_SKIP() << "Windows only: " << c.name;
    if (c.comSpec != ComSpec && UnderWine() && std::getenv("VEXEL_LAUNCHER") == nullptr)
        GTEST_SKIP() << "Wine sets COMSPEC itself; set VEXEL_LAUNCHER to change it";
#ifdef __SANITIZE_ADDRESS__ // built so, the tool is too
    if (c.descriptors > 0) GTEST_SKIP() << "the sanitizers need descriptors of their own";
#endif
    Make(c.files);
    if (!c.mk.empty()) Write("mk", c.mk);
    const bool logged = c.args.size() >= 2 && c.args.back() == "log";
    if (logged) Write("log", std::string(1000, '-'));
    const bool ranMade = !c.ran.empty() && !fs::exists(Work() / "ran");
    const std::size_t entries = Entries() + (ranMade ? 1 : 0);

    const Options options{.comSpec = c.comSpec,
                          .out = c.to,
                          .environment = c.env,
                          .descriptors = c.descriptors,
                          .limit = c.limit};
    const Result result = Run(c.args, options);
    EXPECT_EQ(result.out, logged ? "" : Expand(c.out));
    EXPECT_EQ(Read("log"), logged ? Expand(c.out) : "");
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.status, c.exit);
    EXPECT_EQ(Read("ran"), c.ran);
    EXPECT_EQ(Entries(), entries) << "nothing else is created";
    if (!c.mk.empty()) {
        EXPECT_EQ(Read("mk"), Expand(c.mk)) << "the makefile is never changed";
    }
    ExpectTimes(c.times);
    if (!c.next.empty()) {
        EXPECT_EQ(Run(c.args, options).out, Expand(c.next)) << "the next run";
    }
}

} // namespace vexel::e2e
