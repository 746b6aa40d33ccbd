// Starting a command and polling it until it has ended; running the list of
// them.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "run/command_runner.h"

namespace vexel {
namespace {

TEST(RunCommand, StartsWithoutLeadingBlanksPollsAndPausesOnceMore) {
    // Events: s the start, q a query with the pause after it, p the last pause.
    const std::string s = "start(cc x in /dir) ", q = "query pause:100 ", p = "pause:100 ";
    const auto crash = static_cast<int32_t>(0xC0000005u);
    // Line, running polls, exit code, query fails, what went wrong, events.
    const std::tuple<std::string, int, int32_t, bool, std::string, std::string> cases[] = {
        {"\tcc x", 2, 0, false, "", s + q + q + q + p},
        {"\t  \tcc x", 0, crash, false, "Command error return(-1073741819)", s + q + p},
        {"\t \t", 0, 0, false, "Create Process Error", ""},
        {"\tcc x", 1, 0, true, "Exit Code Error", s + q + q + p}};
    for (const auto& [line, polls, code, queryFails, failure, events] : cases) {
        FakeProcesses processes;
        processes.runningPolls = polls;
        processes.exitCode = code;
        processes.queryFails = queryFails;
        const std::optional<Failure> failed = RunCommand(line, "/dir", processes);
        EXPECT_EQ(failed ? failed->messages.at(0) : "", failure) << line;
        EXPECT_EQ(processes.events, events) << line;
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
    EXPECT_TRUE(RunCommandList({{"out", 1, 1}}, lines, {}, "/", fake.processes, fake.files, out));
    EXPECT_TRUE(fake.files.setStamps.empty());
}

// Caught after the first command of a target has changed its file, before the
// second: the file gets its old time back, and the tool ends.
TEST(RunCommandList, InterruptionBetweenCommandsGivesTheTimeBack) {
    FakePlatform fake;
    fake.processes.interruptAt = 2; // the pause after the first command's end
    fake.files.stampOf = [&](const std::string&) {
        return AgeStamp::At(fake.processes.started.empty() ? 10 : 20, 0);
    };
    MessageWriter out(fake.streams, fake.streams);
    MakeLines lines;
    lines.Assign("\"out\":\n\tcc\n#\n\tld\n");
    EXPECT_THROW(
        RunCommandList({{"\"out\"", 1, 3}}, lines, {}, "/", fake.processes, fake.files, out),
        FakeProcesses::Ended);
    EXPECT_EQ(fake.processes.started, std::vector<std::string>{"cc"});
    const std::vector<std::pair<std::string, AgeStamp>> back{{"out", AgeStamp::At(10, 0)}};
    EXPECT_EQ(fake.files.setStamps, back);
}

} // namespace
} // namespace vexel
