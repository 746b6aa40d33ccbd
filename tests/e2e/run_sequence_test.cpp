// The built tool from start-up to exit status. One table covers COMSPEC, the
// arguments, the log, unusable standard output, makefile errors, staleness by
// explicit file times, build order, cycles and the command runner. Each case
// runs in a fresh directory; "@" in a makefile or an expected output stands
// for the child program (tests/child).
#include "harness.h"

#include <cstdlib>

namespace vexel::e2e {
namespace {

enum Where { Both, PosixOnly, WineOnly };

const std::optional<std::string> ComSpec = Options{}.comSpec;

struct Case {
    const char* name;
    std::string makefile;           // written to "mk"; "": none
    std::vector<std::string> files; // made first, see Make()
    std::string out;                // standard output; with a log named "log" last, the log's bytes
    int status;
    std::string ran = ""; // the lines that commands appended to "ran"
    std::vector<std::string> args = {"mk"};
    Where where = Both;
    std::optional<std::string> comSpec = ComSpec;
    Stdout to = Stdout::Captured;
};

// What the tool prints: "Vexel: " and each line; the echoes of "append ran" commands.
std::string V(auto... lines) {
    return (("Vexel: " + std::string(lines) + "\r\n") + ...);
}
std::string Echo(auto... names) {
    return V(("\t@ append ran " + std::string(names))...);
}

// clang-format off
const std::string UpToDate = V("Target is up to date."), Syntax = V("Target Line Syntax error"), OpenError = V("MakeFile Open Error");
const std::string NoComSpec = V("EnvNotExists", "Get Env(COMSPEC) Error"), Root = "\t@ append ran root\n";
const std::string OutIn = "out: in\n\t@ append ran out\n", EchoOut = Echo("out");
const std::string In2049 = "=800000000"; // base + 800000000 s: past 2044, a negative stamp
const std::string X300(300, 'x'), Long = "\t@ append ran " + X300 + "\n\t@ exit 3\n";
const std::string LongOut = Echo(X300) + V("\t@ exit 3", "Command error return(3)");
// 259 bytes, within Windows' 8-bit file calls; cut at 256 it would end in "./lon".
const std::string LongName = [] { std::string s; for (int i = 0; i < 125; ++i) s += "./"; return s + "longer.mk"; }();
const std::string Split = "\t@ args ran one\t\"two words\" a\\\"b c\\\\\"d e\" back\\slash \"\" end";
const std::string Worked = "\t@ append ran begin\napp: lib\n\t@ append ran app\nlib: src\n\t@ append ran lib\n"
                           "\ndoc: notes\n\t@ append ran doc\n";

const Case Cases[] = {
    // COMSPEC is checked first of all: before the arguments, and no log is made.
    {"ComSpecUnset", "", {"mk=0"}, NoComSpec, 255, "", {}, Both, std::nullopt},
    {"ComSpecUnsetWithThreeArguments", "", {"mk=0"}, NoComSpec, 255, "", {"mk", "log.txt", "x"}, Both, std::nullopt},
    {"ComSpecUnsetWithALog", "", {"mk=0"}, NoComSpec, 255, "", {"mk", "log.txt"}, Both, std::nullopt},
    {"ComSpecEmpty", "", {"mk=0"}, NoComSpec, 255, "", {"mk", "log.txt"}, Both, ""},
    {"ComSpecOf1024Bytes", "", {"mk=0"}, UpToDate, 0, "", {"mk"}, Both, std::string(1024, 'c')},
    {"ComSpecOf1025Bytes", "", {"mk=0"}, V("EnvLengthOver", "Get Env(COMSPEC) Error"), 255, "", {"mk", "log.txt"}, Both, std::string(1025, 'c')},

    // Arguments and the log. A stale log is there first: every logged case checks it is made afresh.
    {"ThreeArgumentsCreateNothing", "", {}, V("Param Error"), 255, "", {"mk", "log", "x"}},
    {"NoArgumentAndNoMakeFile", "", {}, OpenError, 255, "", {}},
    {"NoArgumentReadsMakeFile", "", {"MakeFile=0"}, UpToDate, 0, "", {}},
    {"LongMakefileNameIsTakenWhole", "", {"longer.mk=0"}, UpToDate, 0, "", {LongName}},
    {"EmptyArgumentIsNoArgument", "", {"MakeFile=0"}, UpToDate, 0, "", {"", "MakeFile"}},
    {"ArgumentAfterTheEmptyOneIsTheLog", "", {"MakeFile=0"}, UpToDate, 0, "", {"MakeFile", "", "log"}},
    {"MissingMakefileIsLogged", "", {}, OpenError, 255, "", {"mk", "log"}},
    {"LongLinesReachTheLogWhole", Long, {}, LongOut, 255, X300 + "\n", {"mk", "log"}},
    {"LongLinesReachStandardOutputWhole", Long, {}, LongOut, 255, X300 + "\n"},

    // A failed write to standard output ends the run with status 1, before the announced command starts.
    {"StdoutClosedNothingToDo", "", {"mk=0"}, "", 1, "", {"mk"}, Both, ComSpec, Stdout::Closed},
    {"StdoutFullNothingToDo", "", {"mk=0"}, "", 1, "", {"mk"}, Both, ComSpec, Stdout::DevFull},
    {"StdoutClosedACommand", Root, {}, "", 1, "", {"mk"}, Both, ComSpec, Stdout::Closed},
    {"StdoutFullACommand", Root, {}, "", 1, "", {"mk"}, Both, ComSpec, Stdout::DevFull},
    {"StdoutClosedWithALog", "", {"mk=0"}, UpToDate, 0, "", {"mk", "log"}, Both, ComSpec, Stdout::Closed},
    {"StdoutFullWithALog", "", {"mk=0"}, UpToDate, 0, "", {"mk", "log"}, Both, ComSpec, Stdout::DevFull},

    // Makefile errors end the run before anything runs, root commands included.
    {"SyntaxErrorNoSeparator", Root + "a b c\n", {}, Syntax, 255},
    {"SyntaxErrorBlanksThenTab", Root + "a: b\n  \tx\n", {}, Syntax, 255},
    {"SyntaxErrorNothingAfterColon", Root + "a:  \n", {}, Syntax, 255},
    {"DupTargetAsWritten", Root + "\"my t\": a\n\t@ append ran t\n \"my t\": b\n", {}, V("Dup Target \"my t\""), 255},
    {"DupTargetMatchesLetterCase", "a: x\nA: y\n", {}, UpToDate, 0},
    {"MakefileIsADirectory", "", {"mk/"}, OpenError, 255},

    // Staleness.
    {"MissingTargetIsStale", OutIn, {"in=0"}, EchoOut, 0, "out\n"},
    {"NewerDependencyIsStale", OutIn, {"out=0", "in=2"}, EchoOut, 0, "out\n"},
    {"SameTwoSecondStepIsUpToDate", OutIn, {"out=0", "in=1"}, UpToDate, 0},
    {"MissingDependencyIsNotStale", OutIn, {"out=0"}, UpToDate, 0},
    {"DirectoryTargetIsAlwaysStale", OutIn, {"out/", "in=-100"}, EchoOut, 0, "out\n"},
    {"TargetDatedAfter2044IsNotOlder", OutIn, {"out" + In2049, "in=0"}, UpToDate, 0},
    {"DependencyDatedAfter2044IsNewer", OutIn, {"out=0", "in" + In2049}, EchoOut, 0, "out\n"},
    {"QuotedNamesAreUnquotedForFiles", "\"my out\": \"my in\"\n\t@ append ran out\n", {"my out=0", "my in=2"}, EchoOut, 0, "out\n"},

    // Build order.
    {"ChainBuildsDependencyFirst", "app: lib\n\t@ append ran app\nlib: src\n\t@ append ran lib\n", {"app=4", "lib=0", "src=2"}, Echo("lib", "app"), 0, "lib\napp\n"},
    {"WorkedExample", Worked, {"notes=0", "doc=2", "lib=2", "src=4", "app=6"}, Echo("begin", "lib", "app"), 0, "begin\nlib\napp\n"},
    {"RootCommandsRunWhenAllIsUpToDate", Root + OutIn, {"in=0", "out=2"}, Echo("root"), 0, "root\n"},
    {"UnrelatedStaleTargetsRunLastFirst", "a: x\n\t@ append ran a\nb: y\n\t@ append ran b\n", {}, Echo("b", "a"), 0, "b\na\n"},
    {"FirstColumnCommentInRangeIsSkipped", "out: in\n\t@ append ran one\n#\t@ append ran no\n\t@ append ran two\n", {}, Echo("one", "two"), 0, "one\ntwo\n"},
    {"BlankLineInRangeIsAnEmptyCommand", "out: in\n\t@ append ran one\n\n\t@ append ran two\n", {}, Echo("one") + V("", "Create Process Error"), 255, "one\n"},

    // Cycles: reported before any command runs.
    {"CycleNamesItsFirstTarget", Root + "a: b\n\t@ append ran a\nb: a\n\t@ append ran b\n", {}, V("Circular a dependency dropped."), 255},
    {"SelfDependencyIsACycle", Root + "self: self\n", {}, V("Circular self dependency dropped."), 255},
    {"CycleIgnoresLetterCase", Root + "X: x\n", {}, V("Circular X dependency dropped."), 255},
    {"DependingOnACycleIsNotOnIt", Root + "a: b\nb: c\nc: b\n", {}, V("Circular b dependency dropped."), 255},

    // The runner.
    {"StopsAtTheFirstNonzeroExit", "\t@ append ran 1\n\t@ append ran 2 exit 2\n\t@ append ran 3\n", {}, Echo("1", "2 exit 2") + V("Command error return(2)"), 255, "1\n2\n"},
    {"MissingProgramCannotStart", "\tvexel-no-such-program x\n\t@ append ran 2\n", {}, V("\tvexel-no-such-program x", "Create Process Error"), 255},
    {"ArgumentsSplitByMicrosoftRuntimeRules", Split + "\n", {}, V(Split), 0, "one\ntwo words\na\"b\nc\\d e\nback\\slash\n\nend\n"},
    {"SignalShowsAs128PlusItsNumber", "\t@ signal 9\n", {}, V("\t@ signal 9", "Command error return(137)"), 255, "", {"mk"}, PosixOnly},
    {"ExitCodeShowsSigned", "\t@ exit -1073741819\n", {}, V("\t@ exit -1073741819", "Command error return(-1073741819)"), 255, "", {"mk"}, WineOnly},
    // 259 is also what GetExitCodeProcess gives for a child still running.
    {"ExitCode259IsAnEndedChild", "\t@ exit 259\n", {}, V("\t@ exit 259", "Command error return(259)"), 255, "", {"mk"}, WineOnly},
};
// clang-format on

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Tool : public E2eTest, public ::testing::WithParamInterface<Case> {};

TEST_P(Tool, Runs) {
    const Case& c = GetParam();
    if (c.where == PosixOnly && UnderWine())
        GTEST_SKIP() << "POSIX only: a command ended by a signal";
    if (c.where == WineOnly && !UnderWine())
        GTEST_SKIP() << "Windows only: a POSIX exit status keeps only the low 8 bits of a code";
    if (c.comSpec != ComSpec && UnderWine() && std::getenv("VEXEL_LAUNCHER") == nullptr)
        GTEST_SKIP() << "Wine sets COMSPEC itself; set VEXEL_LAUNCHER to change it";
    Make(c.files);
    if (!c.makefile.empty()) Write("mk", c.makefile);
    const bool logged = c.args.size() >= 2 && c.args.back() == "log";
    if (logged) Write("log", std::string(1000, '-'));
    const std::size_t entries = Entries();

    const Result result = Run(c.args, {.comSpec = c.comSpec, .out = c.to});
    EXPECT_EQ(result.out, logged ? "" : Expand(c.out));
    EXPECT_EQ(Read("log"), logged ? Expand(c.out) : "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(Read("ran"), c.ran);
    EXPECT_EQ(Entries(), entries + (c.ran.empty() ? 0 : 1)) << "nothing else is created";
}

INSTANTIATE_TEST_SUITE_P(E2e, Tool, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// The log cannot be made: one line on standard error, the usual exit status.
TEST_F(E2eTest, LogThatCannotBeCreatedIsToldOnStandardErrorOnly) {
    Write("mk", "");
    for (const auto& [makefile, status] : {std::pair{"mk", 0}, std::pair{"missing.mk", 255}}) {
        const Result result = Run({makefile, "no-such-dir/log"});
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.status, status) << makefile;
        EXPECT_EQ(result.err.rfind("Vexel: ", 0), 0u) << result.err;
        EXPECT_EQ(result.err.find("\r\n"), result.err.size() - 2) << "one line: " << result.err;
    }
}

// Commands start in the directory that was current when the tool started,
// not in the makefile's.
TEST_F(E2eTest, CommandsStartInTheStartDirectory) {
    Write("sub/mk", "\t@ cwd where\n");
    const Result result = Run({"sub/mk"});
    EXPECT_EQ(result.out, Expand("Vexel: \t@ cwd where\r\n"));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(Read("where"), ToolPath(Work()) + "\n");
}

} // namespace
} // namespace vexel::e2e
