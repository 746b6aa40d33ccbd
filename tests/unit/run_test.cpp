#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "driver/command_line.h"
#include "driver/run_sequence.h"
#include "fake_platform.h"
#include "os/child_arguments.h"
#include "run/command_runner.h"

namespace vexel {
namespace {

using Names = std::vector<std::string>;

TEST(RunCommand, EchoesStartsPollsAndReports) {
    struct Case {
        std::string line;
        ChildScript child;
        int32_t result;
        std::string message, trace; // after the echo
    };
    const std::string poll = "query pause:100 ", ended = "start " + poll + "pause:100";
    const std::string error = "Vexel: Command error return(";
    const ChildScript crash{false, 0, static_cast<int32_t>(0xC0000005u), false};
    const Case cases[] = {
        {"\tcc -c a.c", {false, 2, 0, false}, 0, "", "start " + poll + poll + poll + "pause:100"},
        {"run it", {}, 0, "", ended},
        {"\t  \tcc x", {false, 0, 2, false}, 2, error + "2)\r\n", ended + " write"},
        {"\tcc x", crash, -1073741819, error + "-1073741819)\r\n", ended + " write"},
        {"\tmissing", {true, 0, 0, false}, -1, "Vexel: Create Process Error\r\n", "start write"},
        {"\t \t", {}, -1, "Vexel: Create Process Error\r\n", "write"},
        {"\tcc x",
         {false, 1, 0, true},
         -1,
         "Vexel: Exit Code Error\r\n",
         "start " + poll + poll + "pause:100 write"},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.children = {c.child};
        MessageWriter out(platform);
        EXPECT_EQ(RunCommand(c.line, "/start dir", platform, out), c.result) << c.line;
        EXPECT_EQ(platform.standardOutput, "Vexel: " + c.line + "\r\n" + c.message) << c.line;
        EXPECT_EQ(platform.Trace(), "bind write " + c.trace) << c.line;
        const std::size_t name = std::min(c.line.find_first_not_of(" \t"), c.line.size());
        EXPECT_EQ(platform.started.size(), static_cast<std::size_t>(platform.Count("start")));
        for (const auto& [line, directory] : platform.started)
            EXPECT_EQ(line + "|" + directory, c.line.substr(name) + "|/start dir");
    }
}

TEST(RunCommands, StartsNothingForAnEmptyList) {
    FakePlatform platform;
    MessageWriter out(platform);
    EXPECT_TRUE(RunCommands({}, "/start", platform, out));
    EXPECT_EQ(platform.Trace(), ""); // no PrepareChildStart, no output
}

TEST(ReadArguments, SplitsTheTextOrSkipsEmptyEntries) {
    FakePlatform platform;
    platform.arguments = {"", "mk", "", "log"};
    EXPECT_EQ(ReadArguments(platform), (Names{"mk", "log"}));
    platform.commandLine = "vexel.exe \"my mk\" \"\" log";
    EXPECT_EQ(ReadArguments(platform), (Names{"my mk", "log"}));
}

TEST(RunVexel, StartUpFailuresCreateNothing) {
    const std::string notExists = "Vexel: EnvNotExists\r\nVexel: Get Env(COMSPEC) Error\r\n";
    const std::tuple<std::optional<std::string>, Names, std::string> cases[] = {
        {std::nullopt, {"mk", "log"}, notExists},
        {std::nullopt, {"a", "b", "c"}, notExists},
        {"", {"mk", "log"}, notExists},
        {std::string(1025, 'c'), {}, "Vexel: EnvLengthOver\r\nVexel: Get Env(COMSPEC) Error\r\n"},
        {"cmd", {"a", "b", "c"}, "Vexel: Param Error\r\n"},
    };
    for (const auto& [comspec, arguments, output] : cases) {
        FakePlatform platform;
        platform.environment.clear();
        if (comspec) platform.environment["COMSPEC"] = *comspec;
        platform.arguments = arguments;
        EXPECT_EQ(RunVexel(platform), -1);
        EXPECT_EQ(platform.standardOutput, output);
        // No log created, no makefile read: only the message lines were written.
        EXPECT_EQ(platform.Count("bind") + platform.Count("write"), platform.events.size());
    }
}

TEST(RunVexel, RunsThePhasesAndEndsWithTheirStatus) {
    struct Case {
        Names arguments; // with two, the lines go to the log
        std::optional<std::string> makefile;
        int32_t secondExitCode, status;
        std::string lines, started; // started: command lines joined by "|"
        std::size_t stampsAsked;
    };
    const std::string example = "\techo begin\napp: lib\n\tlink app\nlib: src\n\tbuild lib\n";
    const std::string echo = "Vexel: \techo begin\r\nVexel: \tbuild lib\r\n";
    const std::string failed = echo + "Vexel: Command error return(3)\r\n";
    const std::string openError = "Vexel: MakeFile Open Error\r\n";
    const std::string circular = "Vexel: Circular a dependency dropped.\r\n";
    const std::string upToDate = "Vexel: Target is up to date.\r\n";
    const Case cases[] = {
        {{}, example, 0, 0, echo + "Vexel: \tlink app\r\n", "echo begin|build lib|link app|", 3},
        {{"mk", "log"}, example, 3, -1, failed, "echo begin|build lib|", 3},
        {{}, std::nullopt, 0, -1, openError, "", 0},
        {{"mk", "log"}, std::nullopt, 0, -1, openError, "", 0},
        {{"mk"}, "a: b\n\ta\nb: a\n\tb\n", 0, -1, circular, "", 0},
        {{}, "out: in\n\tx\nnew: out\n", 0, 0, upToDate, "", 3},
        {{"mk", "log"}, "", 0, 0, upToDate, "", 0},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        platform.arguments = c.arguments;
        const std::string name = c.arguments.empty() ? "MakeFile" : c.arguments[0];
        if (c.makefile) platform.files[name] = *c.makefile;
        platform.stamps = {{"app", 3}, {"lib", 1}, {"src", 2}, {"out", 2}, {"in", 1}};
        platform.children = {{}, {false, 0, c.secondExitCode, false}};
        EXPECT_EQ(RunVexel(platform), c.status) << c.lines;
        const bool logged = c.arguments.size() == 2;
        EXPECT_EQ(platform.standardOutput + "|" + platform.log,
                  logged ? "|" + c.lines : c.lines + "|");
        std::string started;
        for (const auto& [line, directory] : platform.started)
            started += (directory == "/start" ? line : "in " + directory) + "|";
        EXPECT_EQ(started, c.started);
        EXPECT_EQ(platform.Count("prepare"), started.empty() ? 0 : 1);
        EXPECT_LE(platform.Trace().find("prepare"), platform.Trace().find("start"));
        EXPECT_EQ(platform.Count("read:" + name), 1);
        EXPECT_EQ(platform.Count("log:log") + platform.Count("restore"), logged ? 2 : 0);
        EXPECT_EQ(platform.stampQueries.size(), c.stampsAsked);
        EXPECT_EQ(platform.standardError, "");
    }
}

TEST(RunVexel, LogThatCannotBeCreatedIsToldOnceOnStandardError) {
    for (const bool makefileExists : {true, false}) {
        FakePlatform platform;
        platform.arguments = {"mk", "no/such/dir/log"};
        platform.logCreationFails = true;
        if (makefileExists) platform.files["mk"] = "";
        EXPECT_EQ(RunVexel(platform), makefileExists ? 0 : -1);
        EXPECT_TRUE(std::regex_match(platform.standardError, std::regex("Vexel: [^\r\n]+\r\n")))
            << platform.standardError;
        EXPECT_EQ(platform.standardOutput + platform.log, "");
    }
}

TEST(RunVexel, UnexpectedFailureIsReportedAfterTheCleanUp) {
    for (const bool withLog : {true, false}) {
        FakePlatform platform;
        platform.arguments = withLog ? Names{"mk", "log"} : Names{"mk"};
        platform.files["mk"] = "out: in\n";
        platform.stampRunsOutOfMemory = withLog; // else the first message cannot be written
        platform.failingWrite = 1;
        platform.writeError = 112;
        EXPECT_EQ(RunVexel(platform), 1);
        // Kind, module file, code address (known for the failed write), text, full stop.
        const std::string pattern =
            withLog ? "OutOfMemory.* C:\\\\tools\\\\vexel\\.exe .* 0x[0-9A-F]+.*std::bad_alloc"
                    : "InOutError.* C:\\\\tools\\\\vexel\\.exe .* 0x0*[1-9A-F][0-9A-F]*.*112";
        EXPECT_TRUE(
            std::regex_match(platform.standardOutput, std::regex(".*" + pattern + ".*\\.\r\n")))
            << platform.standardOutput;
        EXPECT_EQ(platform.Count("report"), 1);
        EXPECT_EQ(platform.log, "");
        EXPECT_EQ(platform.Trace().find("restore") < platform.Trace().find("report"), withLog);
    }
}

TEST(SplitChildArguments, FollowsTheCRuntimeRules) {
    const std::pair<std::string, Names> cases[] = {
        {"cc -c a.c", {"cc", "-c", "a.c"}},
        {"cc \t a  b \t", {"cc", "a", "b"}},
        {"\"C:\\Program Files\\cc.exe\" -o \"my out\"",
         {"C:\\Program Files\\cc.exe", "-o", "my out"}},
        {"C:\\bin\\cc a\\b \\\\server\\share x\\",
         {"C:\\bin\\cc", "a\\b", "\\\\server\\share", "x\\"}},
        {"p a\\\"b", {"p", "a\"b"}},
        {"p a\\\\\"b c\"", {"p", "a\\b c"}},
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"p a\\\\\\\\\"b\"", {"p", "a\\\\b"}},
        {"p \"a\"\"b\"", {"p", "a\"b"}},
        {"p \"a\"\" b\" c", {"p", "a\" b", "c"}},
        {"p a\"\"b", {"p", "ab"}},
        {"p \"\" x", {"p", "", "x"}},
        {"p \"open text", {"p", "open text"}},
        {"p a\\ b", {"p", "a\\", "b"}},
        {"p a\"b c\"d", {"p", "ab cd"}},
        {"\"p\\\" a", {"p\\", "a"}},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(SplitChildArguments(line), expected) << line;
}

TEST(SplitChildArguments, QuotedPartsAnywhereInTheProgramName) {
    // Quoted parts anywhere in the program name keep its blanks; the quotes
    // are dropped and no backslash escapes them.
    EXPECT_EQ(SplitChildArguments("\"my tools\"/cc x"), (Names{"my tools/cc", "x"}));
    EXPECT_EQ(SplitChildArguments("tools/\"my cc\" x"), (Names{"tools/my cc", "x"}));
}

} // namespace
} // namespace vexel
