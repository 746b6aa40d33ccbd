// The built tool from start-up to exit status. One table covers COMSPEC, the
// arguments, the log, unusable standard output, makefile errors, staleness by
// explicit file times, build order, cycles and the command runner. Each case
// runs in a fresh directory; "@" in a makefile or an expected output stands
// for the child program (tests/child), "%" for the tool itself.
#include "harness.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexel::e2e {
namespace {

// Some cases cannot be arranged on the other platform: a command ended by a
// signal, FIFOs and devices by POSIX names; 32-bit exit codes, devices by
// Windows names.
enum Where { Both, PosixOnly, WineOnly };

const std::optional<std::string> ComSpec = Options{}.comSpec;

struct Case {
    const char* name;
    std::string mk = "";                 // written to "mk"; "": none
    std::vector<std::string> files = {}; // made first, see Make()
    std::string out;      // standard output; with a log named "log" last, the log's bytes
    int exit;             // as the shell sees it
    std::string ran = ""; // the lines that commands appended to "ran"
    std::vector<std::string> args = {"mk"};
    Where where = Both;
    std::optional<std::string> comSpec = ComSpec;
    Stdout to = Stdout::Captured;
    std::vector<std::string> env = {}; // "NAME=VALUE" for the run
    std::string err = "";              // standard error
    int descriptors = 0;               // see Options
};

// What the tool prints: "Vexel: " and each line; the echoes of "append ran" commands.
std::string V(auto... lines) {
    return (("Vexel: " + std::string(lines) + "\r\n") + ...);
}
std::string Echo(auto... names) {
    return V(("\t@ append ran " + std::string(names))...);
}

const std::string UpToDate = V("Target is up to date."), Syntax = V("Target Line Syntax error"),
                  OpenError = V("MakeFile Open Error");
const std::string NoComSpec = V("EnvNotExists", "Get Env(COMSPEC) Error"),
                  Root = "\t@ append ran root\n";
const std::string OutIn = "out: in\n\t@ append ran out\n", EchoOut = Echo("out");
const std::string TwoPairs = "a: a-in\n\t@ append ran a\nb: b-in\n\t@ append ran b\n";
const std::string X300(300, 'x'), Long = "\t@ append ran " + X300 + "\n\t@ exit 3\n";
const std::string LongOut = Echo(X300) + V("\t@ exit 3", "Command error return(3)");
// 259 bytes, within Windows' 8-bit file calls; cut at 256 it would end in "./lon".
const std::string LongName = [] {
    std::string name;
    for (int i = 0; i < 125; ++i)
        name += "./";
    return name + "longer.mk";
}();
const std::string Split =
    "\t@ args ran one\t\"two words\" a\\\"b c\\\\\"d e\" back\\slash \"\" end";
const std::string Worked =
    "\t@ append ran begin\napp: lib\n\t@ append ran app\nlib: src\n\t@ append ran lib\n"
    "\ndoc: notes\n\t@ append ran doc\n";

// The notice on the caller's standard error of a log that cannot be created.
std::string Lost(const std::string& name) {
    return "Vexel: Log file " + name + " cannot be created; messages are lost\r\n";
}

// clang-format off
const Case Cases[] = {
    // COMSPEC is checked first of all: before the arguments, and no log is made.
    {.name = "ComSpecUnset", .files = {"mk=0"}, .out = NoComSpec, .exit = 255, .args = {},
     .comSpec = std::nullopt},
    {.name = "ComSpecUnsetWithThreeArguments", .files = {"mk=0"}, .out = NoComSpec, .exit = 255,
     .args = {"mk", "log.txt", "x"}, .comSpec = std::nullopt},
    {.name = "ComSpecUnsetWithALog", .files = {"mk=0"}, .out = NoComSpec, .exit = 255,
     .args = {"mk", "log.txt"}, .comSpec = std::nullopt},
    {.name = "ComSpecEmpty", .files = {"mk=0"}, .out = NoComSpec, .exit = 255,
     .args = {"mk", "log.txt"}, .comSpec = ""},
    {.name = "ComSpecOf1024Bytes", .files = {"mk=0"}, .out = UpToDate, .exit = 0,
     .comSpec = std::string(1024, 'c')},
    {.name = "ComSpecOf1025Bytes", .files = {"mk=0"},
     .out = V("EnvLengthOver", "Get Env(COMSPEC) Error"), .exit = 255, .args = {"mk", "log.txt"},
     .comSpec = std::string(1025, 'c')},

    // Arguments and the log. A stale log is there first: every logged case checks it is made
    // afresh.
    {.name = "ThreeArgumentsCreateNothing", .out = V("Param Error"), .exit = 255,
     .args = {"mk", "log", "x"}},
    {.name = "NoArgumentAndNoMakeFile", .out = OpenError, .exit = 255, .args = {}},
    {.name = "NoArgumentReadsMakeFile", .files = {"MakeFile=0"}, .out = UpToDate, .exit = 0,
     .args = {}},
    {.name = "LongMakefileNameIsTakenWhole", .files = {"longer.mk=0"}, .out = UpToDate, .exit = 0,
     .args = {LongName}},
    {.name = "EmptyArgumentIsNoArgument", .files = {"MakeFile=0"}, .out = UpToDate, .exit = 0,
     .args = {"", "MakeFile"}},
    {.name = "ArgumentAfterTheEmptyOneIsTheLog", .files = {"MakeFile=0"}, .out = UpToDate,
     .exit = 0, .args = {"MakeFile", "", "log"}},
    {.name = "MissingMakefileIsLogged", .out = OpenError, .exit = 255, .args = {"mk", "log"}},
    {.name = "LongLinesReachTheLogWhole", .mk = Long, .out = LongOut, .exit = 255,
     .ran = X300 + "\n", .args = {"mk", "log"}},
    {.name = "LongLinesReachStandardOutputWhole", .mk = Long, .out = LongOut, .exit = 255,
     .ran = X300 + "\n"},

    // A failed write to standard output ends the run with status 1, before the announced command
    // starts.
    {.name = "StdoutClosedNothingToDo", .files = {"mk=0"}, .out = "", .exit = 1,
     .to = Stdout::Closed},
    {.name = "StdoutFullNothingToDo", .files = {"mk=0"}, .out = "", .exit = 1,
     .to = Stdout::DevFull},
    {.name = "StdoutClosedACommand", .mk = Root, .out = "", .exit = 1, .to = Stdout::Closed},
    {.name = "StdoutFullACommand", .mk = Root, .out = "", .exit = 1, .to = Stdout::DevFull},
    {.name = "StdoutClosedWithALog", .files = {"mk=0"}, .out = UpToDate, .exit = 0,
     .args = {"mk", "log"}, .to = Stdout::Closed},
    {.name = "StdoutFullWithALog", .files = {"mk=0"}, .out = UpToDate, .exit = 0,
     .args = {"mk", "log"}, .to = Stdout::DevFull},

    // Makefile errors end the run before anything runs, root commands included.
    {.name = "SyntaxErrorNoSeparator", .mk = Root + "a b c\n", .out = Syntax, .exit = 255},
    {.name = "SyntaxErrorBlanksThenTab", .mk = Root + "a: b\n  \tx\n", .out = Syntax, .exit = 255},
    {.name = "SyntaxErrorNothingAfterColon", .mk = Root + "a:  \n", .out = Syntax, .exit = 255},
    {.name = "DupTargetAsWritten", .mk = Root + "\"my t\": a\n\t@ append ran t\n \"my t\": b\n",
     .out = V("Dup Target \"my t\""), .exit = 255},
    {.name = "DupTargetMatchesLetterCase", .mk = "a: x\nA: y\n", .out = UpToDate, .exit = 0},
    {.name = "MakefileIsADirectory", .files = {"mk/"}, .out = OpenError, .exit = 255},
    // Only a file on disk is a makefile: nothing waits for a writer or reads a device.
    {.name = "MakefileIsAFifo", .files = {"fifo|"}, .out = OpenError, .exit = 255,
     .args = {"fifo"}, .where = PosixOnly},
    {.name = "MakefileIsADevice", .out = OpenError, .exit = 255, .args = {"/dev/zero"},
     .where = PosixOnly},
    {.name = "MakefileIsTheNullDevice", .out = OpenError, .exit = 255, .args = {"/dev/null"},
     .where = PosixOnly},
    {.name = "MakefileIsNul", .out = OpenError, .exit = 255, .args = {"NUL"}, .where = WineOnly},
    {.name = "MakefileIsCon", .out = OpenError, .exit = 255, .args = {"CON"}, .where = WineOnly},
    // A log naming the makefile's own file is never created over it.
    {.name = "LogIsTheMakefile", .mk = OutIn, .out = OpenError, .exit = 255, .args = {"mk", "mk"}},
    {.name = "LogIsTheMakefileSpeltOtherwise", .mk = OutIn, .out = OpenError, .exit = 255,
     .args = {"mk", "./mk"}},

    // Staleness.
    {.name = "MissingTargetIsStale", .mk = OutIn, .files = {"in=0"}, .out = EchoOut, .exit = 0,
     .ran = "out\n"},
    {.name = "NewerDependencyIsStale", .mk = OutIn, .files = {"out=0", "in=2"}, .out = EchoOut,
     .exit = 0, .ran = "out\n"},
    // Times to the file system's resolution, in UTC, whatever their date: a quarter second in
    // one two-second step counts, equal times are up to date.
    {.name = "QuarterSecondNewerDependencyIsStale", .mk = OutIn, .files = {"out=0", "in=0.25"},
     .out = EchoOut, .exit = 0, .ran = "out\n"},
    {.name = "QuarterSecondOlderDependencyIsNot", .mk = OutIn, .files = {"out=0.25", "in=0"},
     .out = UpToDate, .exit = 0},
    {.name = "EqualTimesAreUpToDate", .mk = OutIn, .files = {"out=1.5", "in=1.5"},
     .out = UpToDate, .exit = 0},
    // 05:30 and 06:10 UTC: 01:30 EDT, then 01:10 EST in the hour that repeats.
    {.name = "NewerInTheRepeatedHourIsStale", .mk = OutIn,
     .files = {"out@1793511000", "in@1793513400"}, .out = EchoOut, .exit = 0, .ran = "out\n",
     .env = {"TZ=America/New_York"}},
    {.name = "FilesOf1970AreComparedLikeAnyOthers", .mk = TwoPairs,
     .files = {"a@10", "a-in@20", "b@20.5", "b-in@20"}, .out = Echo("a"), .exit = 0,
     .ran = "a\n"},
    {.name = "FilesOf2110AreComparedLikeAnyOthers", .mk = TwoPairs,
     .files = {"a@4417977600", "a-in@4417977600.75", "b@4417977601", "b-in@4417977600"},
     .out = Echo("a"), .exit = 0, .ran = "a\n"},
    {.name = "DependencyOf2110IsNewerThanToday", .mk = OutIn, .files = {"out=0", "in@4417977600"},
     .out = EchoOut, .exit = 0, .ran = "out\n"},
    {.name = "MissingDependencyIsNotStale", .mk = OutIn, .files = {"out=0"}, .out = UpToDate,
     .exit = 0},
    {.name = "DirectoryTargetIsAlwaysStale", .mk = OutIn, .files = {"out/", "in=-100"},
     .out = EchoOut, .exit = 0, .ran = "out\n"},
    {.name = "QuotedNamesAreUnquotedForFiles", .mk = "\"my out\": \"my in\"\n\t@ append ran out\n",
     .files = {"my out=0", "my in=2"}, .out = EchoOut, .exit = 0, .ran = "out\n"},

    // Lines end at CR LF, LF or CR: CR LF is one line end, CR alone another.
    {.name = "CrLfAndCrLineEnds",
     .mk = "# c\rapp: lib\r\t@ append ran app\r\n\t@ append ran 2\rlib: src\r\n\t@ append ran lib",
     .files = {"app=4", "lib=0", "src=2"}, .out = Echo("lib", "app", "2"), .exit = 0,
     .ran = "lib\napp\n2\n"},

    // Build order.
    {.name = "ChainBuildsDependencyFirst",
     .mk = "app: lib\n\t@ append ran app\nlib: src\n\t@ append ran lib\n",
     .files = {"app=4", "lib=0", "src=2"}, .out = Echo("lib", "app"), .exit = 0,
     .ran = "lib\napp\n"},
    {.name = "WorkedExample", .mk = Worked,
     .files = {"notes=0", "doc=2", "lib=2", "src=4", "app=6"}, .out = Echo("begin", "lib", "app"),
     .exit = 0, .ran = "begin\nlib\napp\n"},
    {.name = "RootCommandsRunWhenAllIsUpToDate", .mk = Root + OutIn, .files = {"in=0", "out=2"},
     .out = Echo("root"), .exit = 0, .ran = "root\n"},
    {.name = "UnrelatedStaleTargetsRunLastFirst",
     .mk = "a: x\n\t@ append ran a\nb: y\n\t@ append ran b\n", .out = Echo("b", "a"), .exit = 0,
     .ran = "b\na\n"},
    {.name = "FirstColumnCommentInRangeIsSkipped",
     .mk = "out: in\n\t@ append ran one\n#\t@ append ran no\n\t@ append ran two\n",
     .out = Echo("one", "two"), .exit = 0, .ran = "one\ntwo\n"},
    {.name = "BlankLineInRangeIsAnEmptyCommand",
     .mk = "out: in\n\t@ append ran one\n\n\t@ append ran two\n",
     .out = Echo("one") + V("", "Create Process Error"), .exit = 255, .ran = "one\n"},

    // Cycles: reported before any command runs.
    {.name = "CycleNamesItsFirstTarget",
     .mk = Root + "a: b\n\t@ append ran a\nb: a\n\t@ append ran b\n",
     .out = V("Circular a dependency dropped."), .exit = 255},
    {.name = "SelfDependencyIsACycle", .mk = Root + "self: self\n",
     .out = V("Circular self dependency dropped."), .exit = 255},
    {.name = "CycleIgnoresLetterCaseFromAToZ", .mk = "Z: z\n",
     .out = V("Circular Z dependency dropped."), .exit = 255},
    {.name = "CycleIgnoresLetterCase", .mk = Root + "X: x\n",
     .out = V("Circular X dependency dropped."), .exit = 255},
    {.name = "DependingOnACycleIsNotOnIt", .mk = Root + "a: b\nb: c\nc: b\n",
     .out = V("Circular b dependency dropped."), .exit = 255},

    // The runner.
    {.name = "StopsAtTheFirstNonzeroExit",
     .mk = "\t@ append ran 1\n\t@ append ran 2 exit 2\n\t@ append ran 3\n",
     .out = Echo("1", "2 exit 2") + V("Command error return(2)"), .exit = 255, .ran = "1\n2\n"},
    {.name = "TabThenHashIsACommand", .mk = "\t#\n", .out = V("\t#", "Create Process Error"),
     .exit = 255},
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
    // 259 is also what GetExitCodeProcess gives for a child still running.
    {.name = "ExitCode259IsAnEndedChild", .mk = "\t@ exit 259\n",
     .out = V("\t@ exit 259", "Command error return(259)"), .exit = 255, .where = WineOnly},

    // The log: one that cannot be created is told once, on standard error; the run goes on.
    {.name = "LogThatCannotBeCreated", .out = "", .exit = 255,
     .args = {"missing.mk", "no-such-dir/log"}, .err = Lost("no-such-dir/log")},
    // The log: every write lands at its end, so a command appending to it by name keeps its line.
    {.name = "CommandAppendingToTheLogByName", .mk = "\t@ append log by-name\n\t@ append ran x\n",
     .out = V("\t@ append log by-name") + "by-name\n" + Echo("x"), .exit = 0, .ran = "x\n",
     .args = {"mk", "log"}, .where = PosixOnly},
    // The log: while a run holds it, another run ("%", a command of the first) neither empties
    // nor writes it; its notice goes to its standard error, the first run's log, at the end.
    {.name = "SecondRunLeavesALogInUseAlone", .mk = "\t% second.mk log\n\t@ append ran first\n",
     .files = {"second.mk=0"}, .out = V("\t% second.mk log") + Lost("log") + Echo("first"),
     .exit = 0, .ran = "first\n", .args = {"mk", "log"}},
    // The log: a FIFO that nobody reads cannot be it, said at once; a device takes the lines.
    {.name = "FifoWithoutAReader", .files = {"mk=0", "f.log|"}, .out = "", .exit = 0,
     .args = {"mk", "f.log"}, .where = PosixOnly, .err = Lost("f.log")},
    {.name = "NullDeviceDiscards", .files = {"mk=0"}, .out = "", .exit = 0,
     .args = {"mk", "/dev/null"}, .where = PosixOnly},
    // The log: without descriptors to keep the caller's standard output and error in, none is
    // made, and they are never lost.
    {.name = "TooFewDescriptorsForALog", .files = {"mk=0"}, .out = "", .exit = 0,
     .args = {"mk", "x.log"}, .where = PosixOnly, .err = Lost("x.log"), .descriptors = 4},
};
// clang-format on

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Tool : public E2eTest, public ::testing::WithParamInterface<Case> {};

TEST_P(Tool, Runs) {
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
    const std::size_t entries = Entries();

    const Result result = Run(
        c.args,
        {.comSpec = c.comSpec, .out = c.to, .environment = c.env, .descriptors = c.descriptors});
    EXPECT_EQ(result.out, logged ? "" : Expand(c.out));
    EXPECT_EQ(Read("log"), logged ? Expand(c.out) : "");
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.status, c.exit);
    EXPECT_EQ(Read("ran"), c.ran);
    EXPECT_EQ(Entries(), entries + (c.ran.empty() ? 0 : 1)) << "nothing else is created";
    if (!c.mk.empty()) {
        EXPECT_EQ(Read("mk"), Expand(c.mk)) << "the makefile is never changed";
    }
}

INSTANTIATE_TEST_SUITE_P(E2e, Tool, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// A log naming the makefile through a hard link, or a makefile that does not
// exist yet: the makefile is never read from the log.
TEST_F(E2eTest, LogIsNeverTheMakefile) {
    Write("mk", "out: in\n");
    fs::create_hard_link(Work() / "mk", Work() / "link");
    Result result = Run({"mk", "link"});
    EXPECT_EQ(result.out, "Vexel: MakeFile Open Error\r\n");
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(Read("mk"), "out: in\n");
    result = Run({"new.mk", "new.mk"});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(Read("new.mk"), "Vexel: MakeFile Open Error\r\n");
}

// Killed while a command runs, the tool passes the signal on, waits for the
// child and ends by the same signal; no child outlives it (the harness waits
// for every process of the run).
TEST_F(E2eTest, SignalIsPassedOnToTheRunningCommand) {
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

// A start directory longer than the system takes in one call.
TEST_F(E2eTest, CommandsStartInADeepStartDirectory) {
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
TEST_F(E2eTest, CommandsStartInTheStartDirectory) {
    Write("漢字/sub/mk", "\t@ touch here\n");
    const int directory = ::open((Work() / "漢字").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const Result result =
        Run({"sub/mk"}, {.directory = directory, .environment = {"LC_ALL=C.UTF-8"}});
    ::close(directory);
    EXPECT_EQ(result.out, Expand("Vexel: \t@ touch here\r\n"));
    EXPECT_EQ(result.status, 0);
    EXPECT_TRUE(fs::exists(Work() / "漢字" / "here"));
}

// A message line that the log cannot take ends the run as a failed write to
// standard output does: the log closed and the standard handles restored
// first, then the report on the caller's standard output, exit status 1; the
// announced command never starts. (Under Wine, the device by its Z: name.)
TEST_F(E2eTest, FailedWriteToTheLogIsAnUnexpectedFailure) {
    Write("mk", "\t@ append ran x\n");
    const Result result = Run({"mk", ToolPath("/dev/full")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out.rfind("Unexpected failure InOutError in module ", 0), 0u) << result.out;
    EXPECT_NE(result.out.find(": writing to the log failed ("), std::string::npos) << result.out;
    EXPECT_EQ(Read("ran"), "");
}

} // namespace
} // namespace vexel::e2e
