// Running commands: what runs, how it is started, where, and how it ends.
#include "table.h"

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexel::e2e {

const std::string Split =
    "\t@ args ran one\t\"two words\" a\\\"b c\\\\\"d e\" back\\slash \"\" end";

// clang-format off
const Case Cases[] = {
    {.name = "BlankLineInRangeIsAnEmptyCommand",
     .mk = "out: in\n\t@ append ran one\n\n\t@ append ran two\n",
     .out = Echo("one") + V("", "Create Process Error"), .exit = 255, .ran = "one\n"},
    {.name = "StopsAtTheFirstNonzeroExit",
     .mk = "\t@ append ran 1\n\t@ append ran 2 exit 2\n\t@ append ran 3\n",
     .out = Echo("1", "2 exit 2") + V("Command error return(2)"), .exit = 255, .ran = "1\n2\n"},
    {.name = "MissingProgramCannotStart", .mk = "\tvexel-no-such-program x\n\t@ append ran 2\n",
     .out = V("\tvexel-no-such-program x", "Create Process Error"), .exit = 255},
    // An empty element of PATH names the start directory.
    {.name = "EmptyPathElementIsTheStartDirectory", .mk = "\tkid append ran kid\n",
     .files = {"kid*"}, .out = V("\tkid append ran kid"), .exit = 0, .ran = "kid\n",
     .where = PosixOnly, .env = {"PATH=:/usr/bin:/bin"}},
    {.name = "ArgumentsSplitByMicrosoftRuntimeRules", .mk = Split + "\n", .out = V(Split),
     .exit = 0, .ran = "one\ntwo words\na\"b\nc\\d e\nback\\slash\n\nend\n"},
    {.name = "SignalShowsAs128PlusItsNumber", .mk = "\t@ signal 9\n",
     .out = V("\t@ signal 9", "Command error return(137)"), .exit = 255, .where = PosixOnly},
    {.name = "ExitCodeShowsSigned", .mk = "\t@ exit -1073741819\n",
     .out = V("\t@ exit -1073741819", "Command error return(-1073741819)"), .exit = 255,
     .where = WineOnly},
    // 259 is also what GetExitCodeProcess gives for a child still running: a
    // tool that took it so would wait for ever, so the row has a short limit.
    {.name = "ExitCode259IsAnEndedChild", .mk = "\t@ exit 259\n",
     .out = V("\t@ exit 259", "Command error return(259)"), .exit = 255, .where = WineOnly,
     .limit = std::chrono::seconds(10)},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Commands, TableRow, ::testing::ValuesIn(Cases), NameOf);

// Killed while a command runs, the tool passes the signal on, waits for the
// child and ends by the same signal; no child outlives it (the harness waits
// for every process of the run).
TEST_F(ToolInFreshDirectory, SignalIsPassedOnToTheRunningCommand) {
    if (UnderWine()) GTEST_SKIP() << "POSIX only: signals";
    Write("mk", "\t@ touch started sleep 30000 append ran late\n");
    for (const auto& [signal, toGroup] :
         {std::pair{SIGTERM, false}, std::pair{SIGHUP, false}, std::pair{SIGINT, true}}) {
        fs::remove(Work() / "started");
        const Result result = Run({"mk"}, {.signal = signal, .toGroup = toGroup});
        EXPECT_EQ(result.status, 1000 + signal);
        EXPECT_EQ(result.out, Expand("Vexel: \t@ touch started sleep 30000 append ran late\r\n"));
        EXPECT_EQ(Read("ran"), "");
    }
}

// Windows starts a command line of at most 32,766 characters and its NUL;
// Wine would start one of 65,536 more cut short, so the tool refuses it.
TEST_F(ToolInFreshDirectory, CommandOver32766CharactersIsRefused) {
    if (!UnderWine()) GTEST_SKIP() << "Windows only: the limit is Windows'";
    const std::string fill(32766 - Expand("@ append ran ").size(), 'x');
    const std::string fits = "\t@ append ran " + fill, over = fits + std::string(65536, 'y');
    Write("mk", fits + "\n" + over + "\n");
    const Result result = Run({"mk"});
    EXPECT_EQ(result.out, Expand(V(fits, over, "Create Process Error")));
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(Read("ran"), fill + "\n") << "only the first started";
}

// A start directory longer than the system takes in one call.
TEST_F(ToolInFreshDirectory, CommandsStartInADeepStartDirectory) {
    if (UnderWine()) GTEST_SKIP() << "POSIX only: Windows keeps its own path limit";
    Write("mk", "\t@ touch here\n");
    int directory = ::open(Work().c_str(), O_RDONLY | O_DIRECTORY);
    const std::string step(200, 'd');
    for (int depth = 0; depth < 25; ++depth) { // over 5,000 bytes
        ASSERT_EQ(::mkdirat(directory, step.c_str(), 0777), 0);
        const int next = ::openat(directory, step.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(directory);
        directory = next;
    }
    const Result result = Run({(Work() / "mk").string()}, {.directory = directory});
    EXPECT_EQ(result.out, Expand("Vexel: \t@ touch here\r\n"));
    EXPECT_EQ(result.status, 0);
    struct stat status {};
    EXPECT_EQ(::fstatat(directory, "here", &status, 0), 0) << "the command ran there";
    ::close(directory);
}

// Commands start in the directory that was current when the tool started,
// not in the makefile's, whatever its name: under Wine with a Western code
// page, one that the ANSI code page cannot spell.
TEST_F(ToolInFreshDirectory, CommandsStartInTheStartDirectory) {
    Write("漢字/sub/mk", "\t@ touch here\n");
    const int directory = ::open((Work() / "漢字").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const Result result =
        Run({"sub/mk"}, {.directory = directory, .environment = {"LC_ALL=C.UTF-8"}});
    ::close(directory);
    EXPECT_EQ(result.out, Expand("Vexel: \t@ touch here\r\n"));
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(fs::exists(Work() / "漢字" / "here"));
}

} // namespace vexel::e2e
