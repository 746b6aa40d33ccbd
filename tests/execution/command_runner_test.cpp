// Starting a command and polling it until it has ended; running the list of
// them.
#include <gtest/gtest.h>

#include "execution/command_runner.h"
#include "fakes/fake_platform.h"

namespace vexel {
namespace {

TEST(RunCommand, StartsWithoutLeadingBlanksPollsAndPausesOnceMore) {
    // Events: s the start, q a query with the pause after it, p the last pause.
    const std::string s = "start(cc x) ", q = "query pause:100 ", p = "pause:100 ";
    // clang-format off
    struct Case {
        std::string line, failure = "", events = ""; // what went wrong; the events
        int polls = 0, code = 0;                     // queries answered Running; exit code
        bool queryFails = false;
    } const cases[] = {
        {.line = "\tcc x", .events = s + q + q + q + p, .polls = 2},
        {.line = "\t  \tcc x", .failure = "Command error return(-1073741819)", .events = s + q + p,
         .code = -1073741819}, // 0xC0000005, a crash, is shown signed
        {.line = "\t \t", .failure = "Create Process Error"},
        {.line = "\tcc x", .failure = "Exit Code Error", .events = s + q + q + p, .polls = 1,
         .queryFails = true}};
    // clang-format on
    for (const Case& c : cases) {
        FakeProcesses processes;
        processes.runningPolls = c.polls;
        processes.exitCode = c.code;
        processes.queryFails = c.queryFails;
        const std::optional<Failure> failed = RunCommand(c.line, processes);
        EXPECT_EQ(failed ? failed->messages.at(0) : "", c.failure) << c.line;
        EXPECT_EQ(processes.events, c.events) << c.line;
    }
}

// A file that the failing command removed (or made a directory), which the
// end-to-end rows cannot arrange, has no time to give back.
TEST(RunCommandList, RemovedTargetIsLeftAlone) {
    FakePlatform fake;
    fake.processes.exitCode = 3;
    fake.files.stampOf = [&](const std::string&) {
        return fake.processes.started.empty() ? AgeStamp::At(10, 0) : AgeStamp();
    };
    MessageWriter out(fake.streams, fake.streams);
    MakeLines lines;
    lines.Assign("out:\n\tcc\n");
    EXPECT_TRUE(RunCommandList({{"out", 1, 1}}, lines, fake.processes, fake.files, out));
    EXPECT_TRUE(fake.files.setStamps.empty());
}

// Caught after the first command of a target has changed its file, before the
// second: the file gets its old time back while interruptions are still held,
// and the interruption is what the list returns.
TEST(RunCommandList, InterruptionBetweenCommandsGivesTheTimeBack) {
    FakePlatform fake;
    fake.processes.interruptAt = 2; // the pause after the first command's end
    fake.files.stampOf = [&](const std::string&) {
        return AgeStamp::At(fake.processes.started.empty() ? 10 : 20, 0);
    };
    MessageWriter out(fake.streams, fake.streams);
    MakeLines lines;
    lines.Assign("out:\n\tcc\n#\n\tld\n");
    const std::optional<Failure> failed =
        RunCommandList({{"out", 1, 3}}, lines, fake.processes, fake.files, out);
    ASSERT_TRUE(failed && failed->interruption);
    EXPECT_EQ(fake.processes.started, std::vector<std::string>{"cc"});
    EXPECT_EQ(fake.files.setStamps,
              (std::vector<std::pair<std::string, AgeStamp>>{{"out", AgeStamp::At(10, 0)}}));
    EXPECT_TRUE(fake.processes.events.ends_with("pause:100 release "));
}

} // namespace
} // namespace vexel
