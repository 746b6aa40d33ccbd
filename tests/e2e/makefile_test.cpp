// Makefiles from reading to running: errors, staleness by explicit file
// times, build order, cycles and the command runner.
#include "harness.h"

namespace vexel::e2e {
namespace {

enum class Where { Both, PosixOnly, WineOnly };

struct Case {
    const char* name;
    const char* makefile; // "@" stands for the child program; null: none written
    // Files made first: "name=N" dated base time + N seconds, "name/" a directory.
    std::vector<std::string> files;
    const char* out; // expected standard output, "@" for the child program
    int status;
    const char* ran; // the lines the commands appended to "ran"; "": no such file
    Where where = Where::Both;
};

const char* const UpToDate = "Vexel: Target is up to date.\r\n";
const char* const SyntaxError = "Vexel: Target Line Syntax error\r\n";
const char* const OutIn = "out: in\n\t@ append ran out\n";
const char* const EchoOut = "Vexel: \t@ append ran out\r\n";
const std::string In2049 = "=800000000"; // base + 800000000 s: past 2044, a negative stamp

// clang-format off
const Case Cases[] = {
    // Errors end the run before anything runs, root commands included.
    {"SyntaxErrorNoSeparator", "\t@ append ran root\na b c\n", {}, SyntaxError, 255, ""},
    {"SyntaxErrorBlanksThenTab", "\t@ append ran root\na: b\n  \tx\n", {}, SyntaxError, 255, ""},
    {"SyntaxErrorNothingAfterColon", "\t@ append ran root\na:  \n", {}, SyntaxError, 255, ""},
    {"DupTargetAsWritten", "\t@ append ran root\n\"my t\": a\n\t@ append ran t\n \"my t\": b\n",
     {}, "Vexel: Dup Target \"my t\"\r\n", 255, ""},
    {"DupTargetMatchesLetterCase", "a: x\nA: y\n", {}, UpToDate, 0, ""},
    {"MakefileIsADirectory", nullptr, {"mk/"}, "Vexel: MakeFile Open Error\r\n", 255, ""},

    // Staleness.
    {"MissingTargetIsStale", OutIn, {"in=0"}, EchoOut, 0, "out\n"},
    {"NewerDependencyIsStale", OutIn, {"out=0", "in=2"}, EchoOut, 0, "out\n"},
    {"SameTwoSecondStepIsUpToDate", OutIn, {"out=0", "in=1"}, UpToDate, 0, ""},
    {"MissingDependencyIsNotStale", OutIn, {"out=0"}, UpToDate, 0, ""},
    {"DirectoryTargetIsAlwaysStale", OutIn, {"out/", "in=-100"}, EchoOut, 0, "out\n"},
    {"TargetDatedAfter2044IsNotOlder", OutIn, {"out" + In2049, "in=0"}, UpToDate, 0, ""},
    {"DependencyDatedAfter2044IsNewer", OutIn, {"out=0", "in" + In2049}, EchoOut, 0, "out\n"},
    {"QuotedNamesAreUnquotedForFiles", "\"my out\": \"my in\"\n\t@ append ran out\n",
     {"my out=0", "my in=2"}, EchoOut, 0, "out\n"},

    // Build order.
    {"ChainBuildsDependencyFirst", "app: lib\n\t@ append ran app\nlib: src\n\t@ append ran lib\n",
     {"app=4", "lib=0", "src=2"},
     "Vexel: \t@ append ran lib\r\nVexel: \t@ append ran app\r\n", 0, "lib\napp\n"},
    {"WorkedExample", "\t@ append ran begin\napp: lib\n\t@ append ran app\nlib: src\n"
                      "\t@ append ran lib\n\ndoc: notes\n\t@ append ran doc\n",
     {"notes=0", "doc=2", "lib=2", "src=4", "app=6"},
     "Vexel: \t@ append ran begin\r\nVexel: \t@ append ran lib\r\nVexel: \t@ append ran app\r\n",
     0, "begin\nlib\napp\n"},
    {"RootCommandsRunWhenAllIsUpToDate", "\t@ append ran root\nout: in\n\t@ append ran out\n",
     {"in=0", "out=2"}, "Vexel: \t@ append ran root\r\n", 0, "root\n"},
    {"UnrelatedStaleTargetsRunLastFirst", "a: x\n\t@ append ran a\nb: y\n\t@ append ran b\n", {},
     "Vexel: \t@ append ran b\r\nVexel: \t@ append ran a\r\n", 0, "b\na\n"},
    {"FirstColumnCommentInRangeIsSkipped",
     "out: in\n\t@ append ran one\n#\t@ append ran no\n\t@ append ran two\n", {},
     "Vexel: \t@ append ran one\r\nVexel: \t@ append ran two\r\n", 0, "one\ntwo\n"},
    {"BlankLineInRangeIsAnEmptyCommand", "out: in\n\t@ append ran one\n\n\t@ append ran two\n", {},
     "Vexel: \t@ append ran one\r\nVexel: \r\nVexel: Create Process Error\r\n", 255, "one\n"},

    // Cycles: reported before any command runs.
    {"CycleNamesItsFirstTarget",
     "\t@ append ran root\na: b\n\t@ append ran a\nb: a\n\t@ append ran b\n", {},
     "Vexel: Circular a dependency dropped.\r\n", 255, ""},
    {"SelfDependencyIsACycle", "\t@ append ran root\nself: self\n", {},
     "Vexel: Circular self dependency dropped.\r\n", 255, ""},
    {"CycleIgnoresLetterCase", "\t@ append ran root\nX: x\n", {},
     "Vexel: Circular X dependency dropped.\r\n", 255, ""},
    {"DependingOnACycleIsNotOnIt", "\t@ append ran root\na: b\nb: c\nc: b\n", {},
     "Vexel: Circular b dependency dropped.\r\n", 255, ""},

    // The runner.
    {"StopsAtTheFirstNonzeroExit", "\t@ append ran 1\n\t@ append ran 2 exit 2\n\t@ append ran 3\n",
     {}, "Vexel: \t@ append ran 1\r\nVexel: \t@ append ran 2 exit 2\r\n"
         "Vexel: Command error return(2)\r\n", 255, "1\n2\n"},
    {"MissingProgramCannotStart", "\tvexel-no-such-program x\n\t@ append ran 2\n", {},
     "Vexel: \tvexel-no-such-program x\r\nVexel: Create Process Error\r\n", 255, ""},
    {"ArgumentsSplitByMicrosoftRuntimeRules",
     "\t@ args ran one\t\"two words\" a\\\"b c\\\\\"d e\" back\\slash \"\" end\n", {},
     "Vexel: \t@ args ran one\t\"two words\" a\\\"b c\\\\\"d e\" back\\slash \"\" end\r\n", 0,
     "one\ntwo words\na\"b\nc\\d e\nback\\slash\n\nend\n"},
    {"SignalShowsAs128PlusItsNumber", "\t@ signal 9\n", {},
     "Vexel: \t@ signal 9\r\nVexel: Command error return(137)\r\n", 255, "", Where::PosixOnly},
    {"ExitCodeShowsSigned", "\t@ exit -1073741819\n", {},
     "Vexel: \t@ exit -1073741819\r\nVexel: Command error return(-1073741819)\r\n", 255, "",
     Where::WineOnly},
};
// clang-format on

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Makefile : public E2eTest, public ::testing::WithParamInterface<Case> {
protected:
    std::string WithChild(std::string text) const {
        for (std::size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at))
            text.replace(at, 1, Child()), at += Child().size();
        return text;
    }
};

TEST_P(Makefile, Runs) {
    const Case& c = GetParam();
    if (c.where == Where::PosixOnly) {
        VEXEL_SKIP_UNDER_WINE("a command ended by a signal is a POSIX case");
    }
    if (c.where == Where::WineOnly && !UnderWine()) {
        GTEST_SKIP() << "Windows only: a POSIX exit status keeps only the low 8 bits of a code";
    }

    for (const std::string& file : c.files) {
        const std::size_t equals = file.rfind('=');
        if (equals == std::string::npos) {
            std::filesystem::create_directories(Work() / file);
            continue;
        }
        const std::string name = file.substr(0, equals);
        Write(name, "");
        SetTime(name, std::stol(file.substr(equals + 1)));
    }
    if (c.makefile != nullptr) Write("mk", WithChild(c.makefile));

    const Result result = Run({"mk"});
    EXPECT_EQ(result.out, WithChild(c.out));
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(Exists("ran") ? Read("ran") : "", c.ran);
}

INSTANTIATE_TEST_SUITE_P(E2e, Makefile, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.name); });

// Commands start in the directory that was current when the tool started,
// not in the makefile's, whatever the length of its path.
class Runner : public E2eTest {
protected:
    void ExpectCommandStartsIn(const std::filesystem::path& cwd, const std::string& makefile) {
        const std::string line = Command("cwd where.txt");
        Write(cwd / makefile, line + "\n");
        const Result result = Run({makefile}, {.cwd = cwd});
        EXPECT_EQ(result.out, "Vexel: " + line + "\r\n");
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(Read(cwd / "where.txt"), ToolPath(cwd) + "\n");
    }
};

TEST_F(Runner, CommandsStartInTheStartDirectory) {
    ExpectCommandStartsIn(Work(), "sub/mk");
}

TEST_F(Runner, CommandsStartInAStartDirectoryLongerThan260Bytes) {
    VEXEL_SKIP_UNDER_WINE("Wine starts a program whose directory exceeds 260 bytes elsewhere");
    ExpectCommandStartsIn(
        Work() / std::string(100, 'a') / std::string(100, 'b') / std::string(100, 'c'), "mk");
}

} // namespace
} // namespace vexel::e2e
