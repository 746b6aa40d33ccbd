// Command lines: the tool's own arguments, a command's child arguments,
// running a command, and the report of an unexpected failure.
#include <gtest/gtest.h>

#include <regex>

#include "driver/command_line.h"
#include "driver/run_sequence.h"
#include "fake_platform.h"
#include "os/child_arguments.h"
#include "run/command_runner.h"

namespace vexel {
namespace {

using Args = std::vector<std::string>;

TEST(SplitArguments, FollowsTheQuotingRules) {
    // The program name is skipped; blanks are bytes 1 to 32, a backslash
    // escapes nothing, high bytes are argument bytes, the text ends at NUL.
    const std::pair<std::string, Args> cases[] = {
        {"p \"my make file\"", {"my make file"}},
        {"p a\"b c\"d", {"ab cd"}},
        {"p a\tb", {"a", "b"}},
        {"p mk \"\" log.txt", {"mk", "log.txt"}},
        {"p \"\"\"\"", {}},
        {"p \"unterminated text", {"unterminated text"}},
        {"p   \r\n mk\x01\x1flog  ", {"mk", "log"}},
        {"p a\\\"b", {"a\\b"}},
        {"p \xe3\x81\x82 \xa0x", {"\xe3\x81\x82", "\xa0x"}},
        {std::string("p mk\0log", 8), {"mk"}},
        {"\"C:\\Program Files\\vexel.exe\" mk", {"mk"}},
        {"\"C:\\odd\"name.exe mk log", {"mk", "log"}}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SplitArguments(text), expected) << text;
}

TEST(SplitChildArguments, FollowsTheCRuntimeRules) {
    // In the program name quotes anywhere keep blanks and no backslash
    // escapes them; after it 2n backslashes and a quote give n and open or
    // close a quoted stretch, 2n+1 give n and a literal quote.
    const std::pair<std::string, Args> cases[] = {
        {"cc \t a  b \t", {"cc", "a", "b"}},
        {"\"C:\\Program Files\\cc.exe\" -o \"my out\"",
         {"C:\\Program Files\\cc.exe", "-o", "my out"}},
        {"C:\\bin\\cc a\\b \\\\server\\share x\\",
         {"C:\\bin\\cc", "a\\b", "\\\\server\\share", "x\\"}},
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"p a\\\\\\\\\"b\"", {"p", "a\\\\b"}},
        {"p \"a\"\"b\"", {"p", "a\"b"}},
        {"p \"a\"\" b\" c", {"p", "a\" b", "c"}},
        {"p a\\ b", {"p", "a\\", "b"}},
        {"\"p\\\" a", {"p\\", "a"}},
        {"\"my tools\"/cc x", {"my tools/cc", "x"}},
        {"tools/\"my cc\" x", {"tools/my cc", "x"}}};
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(SplitChildArguments(line), expected) << line;
}

TEST(RunCommand, EchoesStartsPollsAndReports) {
    // Events: s the start, q a query with the pause after it, p the last pause.
    const std::string s = "start(cc x in /dir) ", q = "query pause:100 ", p = "pause:100 ";
    const auto crash = static_cast<int32_t>(0xC0000005u);
    const std::string crashed = "Vexel: Command error return(-1073741819)\r\n";
    // Line, running polls, exit code, query fails, result, lines after the
    // echo, events after the echo's write.
    const std::tuple<std::string, int, int32_t, bool, int32_t, std::string, std::string> cases[] = {
        {"\tcc x", 2, 0, false, 0, "", s + q + q + q + p},
        {"\t  \tcc x", 0, crash, false, crash, crashed, s + q + p + "write "},
        {"\t \t", 0, 0, false, -1, "Vexel: Create Process Error\r\n", "write "},
        {"\tcc x", 1, 0, true, -1, "Vexel: Exit Code Error\r\n", s + q + q + p + "write "}};
    for (const auto& [line, polls, code, queryFails, result, lines, events] : cases) {
        FakePlatform platform;
        platform.runningPolls = polls;
        platform.exitCode = code;
        platform.queryFails = queryFails;
        MessageWriter out(platform);
        EXPECT_EQ(RunCommand(line, "/dir", platform, out), result) << line;
        EXPECT_EQ(platform.standardOutput, "Vexel: " + line + "\r\n" + lines) << line;
        EXPECT_EQ(platform.events, "write " + events) << line;
    }
}

TEST(RunVexel, UnexpectedFailureIsReportedOnStandardOutputAfterTheLogIsRestored) {
    FakePlatform platform;
    platform.arguments = {"mk", "log"};
    platform.makefile = "out: in\n";
    platform.stampRunsOutOfMemory = true;
    EXPECT_EQ(RunVexel(platform), 1);
    EXPECT_EQ(platform.events, "redirect restore report ");
    // Kind, module file, code address, text, full stop.
    const std::regex report(".*OutOfMemory.* C:\\\\vexel\\.exe .*0x[0-9A-F]+.*bad_alloc.*\\.\r\n");
    EXPECT_TRUE(std::regex_match(platform.standardOutput, report)) << platform.standardOutput;
}

} // namespace
} // namespace vexel
