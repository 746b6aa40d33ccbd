// Starting a command and polling it until it has ended.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "run/command_runner.h"

namespace vexel {
namespace {

TEST(RunCommand, StartsWithoutLeadingBlanksPollsAndPausesOnceMore) {
    using enum CommandResult::Kind;
    // Events: s the start, q a query with the pause after it, p the last pause.
    const std::string s = "start(cc x in /dir) ", q = "query pause:100 ", p = "pause:100 ";
    const auto crash = static_cast<int32_t>(0xC0000005u);
    // Line, running polls, exit code, query fails, result, events.
    const std::tuple<std::string, int, int32_t, bool, CommandResult::Kind, int32_t, std::string>
        cases[] = {{"\tcc x", 2, 0, false, Ended, 0, s + q + q + q + p},
                   {"\t  \tcc x", 0, crash, false, Ended, crash, s + q + p},
                   {"\t \t", 0, 0, false, NotStarted, 0, ""},
                   {"\tcc x", 1, 0, true, EndUnknown, 0, s + q + q + p}};
    for (const auto& [line, polls, code, queryFails, kind, exitCode, events] : cases) {
        FakeProcesses processes;
        processes.runningPolls = polls;
        processes.exitCode = code;
        processes.queryFails = queryFails;
        const CommandResult result = RunCommand(line, "/dir", processes);
        EXPECT_EQ(result.kind, kind) << line;
        EXPECT_EQ(result.exitCode, exitCode) << line;
        EXPECT_EQ(processes.events, events) << line;
    }
}

} // namespace
} // namespace vexel
