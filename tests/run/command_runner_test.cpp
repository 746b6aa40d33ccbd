// Starting a command and polling it until it has ended; running the list of
// them, and what a failed or interrupted target's file gets back.
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
        bool interrupted = true;
        const std::optional<Failure> failed = RunCommand(line, "/dir", processes, interrupted);
        EXPECT_EQ(failed ? failed->messages.at(0) : "", failure) << line;
        EXPECT_EQ(processes.events, events) << line;
        EXPECT_FALSE(interrupted) << line;
    }
}

// One target's file, read before its first command and after its end.
struct GiveBackCase {
    const char* name;
    std::string file = "out";
    AgeStamp before = {}, after = {};
    int32_t exitCode = 3;
    bool interrupted = false;
    std::vector<std::pair<std::string, AgeStamp>> set = {};
};

TEST(RunCommandList, FailedOrInterruptedTargetGetsItsOldTimeBack) {
    const AgeStamp old = AgeStamp::At(1700000000, 123456789), made = AgeStamp::At(1800000000, 5);
    const GiveBackCase cases[] = {
        {.name = "changed", .before = old, .after = made, .set = {{"out", old}}},
        {.name = "made", .after = made, .set = {{"out", AgeStamp::At(0, 0)}}},
        {.name = "interrupted",
         .before = old,
         .after = made,
         .exitCode = 0,
         .interrupted = true,
         .set = {{"out", old}}},
        {.name = "unchanged", .before = old, .after = old},
        {.name = "removed or a directory", .before = old},
        {.name = "succeeded", .after = made, .exitCode = 0},
        {.name = "a pattern", .file = "o?t", .before = old, .after = made},
        {.name = "the root record", .file = "", .before = old, .after = made},
    };
    for (const GiveBackCase& c : cases) {
        FakePlatform fake;
        fake.processes.exitCode = c.exitCode;
        fake.processes.interrupted = c.interrupted;
        fake.files.stampOf = [&](const std::string&) {
            return fake.processes.started.empty() ? c.before : c.after;
        };
        MessageWriter out(fake.streams);
        const CommandList commands = {{c.file, {"\tcc"}}};
        auto run = [&] { return RunCommandList(commands, "/", fake.processes, fake.files, out); };
        if (c.interrupted) {
            EXPECT_THROW(run(), FakeProcesses::Interruption) << c.name;
        } else {
            EXPECT_EQ(run().has_value(), c.exitCode != 0) << c.name;
        }
        EXPECT_EQ(fake.files.setStamps, c.set) << c.name;
    }
}

// Kept before each target's first command: a target whose commands all
// succeeded, or that never ran, is left alone.
TEST(RunCommandList, OnlyTheTargetWhoseCommandFailedIsGivenBack) {
    FakePlatform fake;
    fake.processes.exitCodeOf = [](const std::string& command) { return command == "fail"; };
    fake.files.stampOf = [&](const std::string&) {
        return AgeStamp::At(static_cast<int64_t>(fake.processes.started.size()), 0);
    };
    MessageWriter out(fake.streams);
    const CommandList commands = {{"a", {"\tok"}}, {"b", {"\tok", "\tfail"}}, {"c", {"\tno"}}};
    const std::optional<Failure> failed =
        RunCommandList(commands, "/", fake.processes, fake.files, out);
    EXPECT_EQ(failed ? failed->messages.at(0) : "", "Command error return(1)");
    EXPECT_EQ(fake.processes.started, (std::vector<std::string>{"ok", "ok", "fail"}));
    EXPECT_EQ(fake.files.setStamps, (decltype(fake.files.setStamps){{"b", AgeStamp::At(1, 0)}}));
}

} // namespace
} // namespace vexel
