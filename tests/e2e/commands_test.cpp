// Running commands: what runs, how it is started, where, and how it ends.
#include "table.h"

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexel::e2e {

const std::string Split =
    "\t@ args ran one\t\"two words\" a\\\"b c\\\\\"d e\" back\\slash \"\" end";

// 17,000 characters of code page 932 in 34,000 bytes: Windows counts its limit in characters.
const std::string Wide = std::string(34000, '\x81');

const std::string Half = "ran: in\n\t@ append ran half exit 3\n",
                  HalfOut = V("\t@ append ran half exit 3", "Command error return(3)");

// clang-format off
const Case Cases[] = {
    {.name = "BlankLineInRangeIsAnEmptyCommand",
     .mk = "out: in\n\t@ append ran one\n\n\t@ append ran two\n",
     .out = Echo("one") + V("", "Create Process Error"), .exit = 255, .ran = "one\n"},
    // A failed target never looks finished: its file gets its old time back,
    // or 1970 when its commands made it (see the interrupted rows), so the
    // next run makes it again.
    {.name = "FailedTargetGetsItsOldTimeBack", .mk = Half, .files = {"in=1", "ran=0.123456789"},
     .out = HalfOut, .exit = 255, .ran = "half\n", .times = {"ran=0.123456789"}, .next = HalfOut},
    // A read-only target too, where the system lets its time be set; nothing else changes.
    {.name = "FailedReadOnlyTargetGetsItsTimeBack",
     .mk = "ran: in\n\t@ append ran half readonly ran exit 3\n", .files = {"in=1", "ran=0"},
     .out = V("\t@ append ran half readonly ran exit 3", "Command error return(3)"), .exit = 255,
     .ran = "half\n", .times = {"ran=0"}},
    // A command that fails before it writes leaves the time as it is.
    {.name = "FailureBeforeWritingChangesNoTime", .mk = "ran: in\n\t@ exit 3\n",
     .files = {"in=1", "ran=0.5"}, .out = V("\t@ exit 3", "Command error return(3)"), .exit = 255,
     .times = {"ran=0.5"}},
    // A link the failing command leaves in the target's place is never followed to give a time
    // back: the dependency it leads to, or a file no makefile names, keeps its time. Led to the
    // dependency, the target has its time and looks up to date; led elsewhere, it is made again.
    // (POSIX only: a Windows program under Wine cannot make a link.)
    {.name = "LinkLeftInPlaceOfTheTargetLeadsToTheDependency", .mk = "t: d\n\t@ link d t exit 3\n",
     .files = {"d=1", "t=0"}, .out = V("\t@ link d t exit 3", "Command error return(3)"),
     .exit = 255, .where = PosixOnly, .times = {"d=1"}, .next = UpToDate},
    {.name = "LinkLeftInPlaceOfTheTargetLeadsElsewhere", .mk = "t: d\n\t@ link x t exit 3\n",
     .files = {"d=1", "t=0", "x=-5"}, .out = V("\t@ link x t exit 3", "Command error return(3)"),
     .exit = 255, .where = PosixOnly, .times = {"d=1", "x=-5"},
     .next = V("\t@ link x t exit 3", "Command error return(3)")},
    // A target that is a link to its real output before the run gets its time back through it.
    {.name = "TargetThatIsALinkGetsItsTimeBack", .mk = "t: d\n\t@ touch t exit 3\n",
     .files = {"d=1", "real=0", "t>real"}, .out = V("\t@ touch t exit 3", "Command error return(3)"),
     .exit = 255, .times = {"real=0"}, .next = V("\t@ touch t exit 3", "Command error return(3)")},
    // It stops at the first nonzero exit; a target made before stays up to date.
    {.name = "OnlyTheFailedTargetIsMadeAgain",
     .mk = "ran: a\n\t@ append ran half exit 3\n\t@ append ran never\na: in\n\t@ append a made\n",
     .files = {"in=1", "a=0", "ran=2"},
     .out = V("\t@ append a made") + HalfOut, .exit = 255, .ran = "half\n", .times = {"ran=2"},
     .next = HalfOut},
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
    {.name = "CommandLimitCountsCharacters", .mk = "\t@ append ran " + Wide + "\n",
     .out = Echo(Wide), .exit = 0, .ran = Wide + "\n", .where = WineOnly,
     .env = {"LC_ALL=ja_JP.UTF-8"}},
    // 259 is also what GetExitCodeProcess gives for a child still running: a
    // tool that took it so would wait for ever, so the row has a short limit.
    {.name = "ExitCode259IsAnEndedChild", .mk = "\t@ exit 259\n",
     .out = V("\t@ exit 259", "Command error return(259)"), .exit = 255, .where = WineOnly,
     .limit = std::chrono::seconds(10)},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Commands, TableRow, ::testing::ValuesIn(Cases), NameOf);

// Interrupted while a target's commands run, the tool waits for the command
// that runs, gives the target its old time back (1970 for one it made), and
// ends as the interruption would have ended it, before the next command: by
// the signal, or with STATUS_CONTROL_C_EXIT (0xC000013A; the caller of Wine
// sees its low byte). Interrupted during a command that has written the
// target (POSIX: a signal to the tool, or to its group as a terminal's
// Ctrl-C; Windows: Ctrl+C or Ctrl+Break at its console), or by a command that
// ignores the interruption and ends well, so that it is caught between two
// commands. No child outlives the tool: the harness waits for every process
// of the run, within a limit far below the 30 s a command would sleep on.
TEST_F(ToolInFreshDirectory, InterruptedTargetIsGivenBackBeforeTheToolEnds) {
    struct Way {
        std::string actions;
        int signal;
        bool toGroup;
        const char* ran; // "": missing
    };
    const std::string during = " sleep 30000 append ran late";
    const std::vector<Way> ways =
        UnderWine() ? std::vector<Way>{{"ctrl 0" + during, 0, false, ""},
                                       {"interrupt 0", 0, false, "ran=0.5"},
                                       {"ctrl 1" + during, 0, false, "ran=0.5"}}
                    : std::vector<Way>{{"touch started" + during, SIGTERM, false, "ran=0.5"},
                                       {"touch started" + during, SIGHUP, false, "ran@7.25"},
                                       {"touch started" + during, SIGINT, true, ""},
                                       {"interrupt 15", 0, false, "ran=0.5"}};
    for (const Way& way : ways) {
        const std::string command = "\t@ append ran half " + way.actions;
        Write("mk", "ran: in\n" + command + "\n\t@ append ran second\n");
        fs::remove(Work() / "started");
        fs::remove(Work() / "ran");
        Make({"in=1"});
        if (*way.ran) Make({way.ran});
        const Result result = Run({"mk"}, {.signal = way.signal,
                                           .toGroup = way.toGroup,
                                           .console = UnderWine(),
                                           .limit = std::chrono::seconds(10)});
        if (result.out.ends_with("return(102)\r\n"))
            GTEST_SKIP() << "Ctrl+C checked; Wine does not deliver Ctrl+Break: "
                            "GenerateConsoleCtrlEvent fails";
        EXPECT_EQ(result.out, Expand("Vexel: " + command + "\r\n"));
        EXPECT_EQ(result.status, UnderWine() ? 0x3A : 1000 + (way.signal ? way.signal : SIGTERM))
            << command;
        EXPECT_EQ(Read("ran"), "half\n") << command;
        ExpectTimes({*way.ran ? way.ran : "ran@0"});
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
