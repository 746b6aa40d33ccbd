// Start-up checks, arguments, the log file and the unexpected failure.
#include "harness.h"

namespace vexel::e2e {
namespace {

const std::string NoComSpec = "Vexel: EnvNotExists\r\nVexel: Get Env(COMSPEC) Error\r\n";
const std::string UpToDate = "Vexel: Target is up to date.\r\n";
const std::string OpenError = "Vexel: MakeFile Open Error\r\n";

using StartUp = E2eTest;
using Arguments = E2eTest;
using Log = E2eTest;
using UnexpectedFailure = E2eTest;

TEST_F(StartUp, ComSpecMustBeSetNonEmptyAndAtMost1024Bytes) {
    VEXEL_NEED_ENVIRONMENT_CONTROL();
    Write("empty.mk", "");
    struct Case {
        const char* what;
        std::optional<std::string> comSpec;
        std::vector<std::string> args;
        std::string out;
        int status;
    };
    // clang-format off
    const Case cases[] = {
        {"unset, no argument", std::nullopt, {}, NoComSpec, 255},
        {"unset, three arguments", std::nullopt, {"empty.mk", "log.txt", "x"}, NoComSpec, 255},
        {"unset, makefile and log", std::nullopt, {"empty.mk", "log.txt"}, NoComSpec, 255},
        {"empty, makefile and log", "", {"empty.mk", "log.txt"}, NoComSpec, 255},
        {"1024 bytes", std::string(1024, 'c'), {"empty.mk"}, UpToDate, 0},
        {"1025 bytes", std::string(1025, 'c'), {"empty.mk", "log.txt"},
         "Vexel: EnvLengthOver\r\nVexel: Get Env(COMSPEC) Error\r\n", 255},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result result = Run(c.args, {.env = {{"COMSPEC", c.comSpec}}});
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(Listing(), std::vector<std::string>{"empty.mk"}) << "no log is created";
    }
}

TEST_F(Arguments, CountDefaultNameLongAndEmptyArguments) {
    const auto expect = [this](std::vector<std::string> args, const std::string& out, int status,
                               const char* what) {
        SCOPED_TRACE(what);
        const Result result = Run(args);
        EXPECT_EQ(result.out, out);
        EXPECT_EQ(result.status, status);
    };
    expect({"mk", "log.txt", "extra"}, "Vexel: Param Error\r\n", 255, "three arguments");
    EXPECT_TRUE(Listing().empty()) << "three arguments create nothing";
    expect({}, OpenError, 255, "no argument and no MakeFile");

    Write("MakeFile", "");
    expect({}, UpToDate, 0, "no argument reads MakeFile");
    // Cut at 256 bytes, the name would end in "./lon". Windows' file calls
    // for 8-bit names take at most 259 bytes, so the name stays below that.
    std::string longName;
    for (int i = 0; i < 125; ++i)
        longName += "./";
    longName += "longer.mk";
    Write("longer.mk", "");
    expect({longName}, UpToDate, 0, "a makefile name of 259 bytes is taken whole");
    expect({"", "MakeFile"}, UpToDate, 0, "an empty argument is no argument");
    expect({"MakeFile", "", "log.txt"}, "", 0, "the argument after the empty one is the log");
    EXPECT_EQ(Read("log.txt"), UpToDate);
}

TEST_F(Log, HoldsTheRunsMessagesAndIsCreatedAfresh) {
    Result result = Run({"missing.mk", "log.txt"});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(Read("log.txt"), OpenError);

    Write("dup.mk", "a: b\na: c\n");
    result = Run({"dup.mk", "log.txt"});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(Read("log.txt"), "Vexel: Dup Target a\r\n") << "the shorter second run truncates";
}

TEST_F(Log, ThatCannotBeCreatedIsToldOnStandardErrorOnly) {
    Write("empty.mk", "");
    const struct {
        const char* makefile;
        int status;
    } cases[] = {{"empty.mk", 0}, {"missing.mk", 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.makefile);
        const Result result = Run({c.makefile, "no-such-dir/log.txt"});
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.status, c.status) << "the run's usual exit status";
        EXPECT_EQ(result.err.rfind("Vexel: ", 0), 0u) << result.err;
        EXPECT_EQ(result.err.find("\r\n"), result.err.size() - 2) << "one line: " << result.err;
    }
}

// The echo of a command is a message line longer than 256 bytes; it and the
// result line reach the log whole, as they reach standard output without one.
TEST_F(Log, ReceivesLongLinesWholeAndTheRunnersLines) {
    const std::string append = Command("append out.txt " + std::string(300, 'x'));
    const std::string fail = Command("exit 3");
    Write("mk", append + "\n" + fail + "\n");
    const std::string expected =
        "Vexel: " + append + "\r\nVexel: " + fail + "\r\nVexel: Command error return(3)\r\n";

    Result result = Run({"mk", "log.txt"});
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(Read("log.txt"), expected);
    EXPECT_EQ(result.status, 255);

    result = Run({"mk"});
    EXPECT_EQ(result.out, expected);
    EXPECT_EQ(result.status, 255);
    EXPECT_EQ(Read("out.txt"), std::string(300, 'x') + "\n" + std::string(300, 'x') + "\n");
}

// A failed write to standard output ends the run with status 1, before the
// command that the message announces is started; with a log, standard output
// is not used and the run is as usual. Wine passes both cases on to the
// Windows build as they are.
TEST_F(UnexpectedFailure, UnusableStandardOutputEndsTheRunWithStatusOne) {
    Write("empty.mk", "");
    Write("cmd.mk", Command("touch ran") + "\n");
    struct Case {
        const char* what;
        Stdout out;
        std::vector<std::string> args;
        int status;
        std::string log;
    };
    const Case cases[] = {
        {"closed, nothing to do", Stdout::Closed, {"empty.mk"}, 1, ""},
        {"full, nothing to do", Stdout::DevFull, {"empty.mk"}, 1, ""},
        {"closed, a command", Stdout::Closed, {"cmd.mk"}, 1, ""},
        {"full, a command", Stdout::DevFull, {"cmd.mk"}, 1, ""},
        {"closed, with a log", Stdout::Closed, {"empty.mk", "log.txt"}, 0, UpToDate},
        {"full, with a log", Stdout::DevFull, {"empty.mk", "log.txt"}, 0, UpToDate},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Result result = Run(c.args, {.out = c.out});
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err, "");
        EXPECT_FALSE(Exists("ran")) << "the command is not started";
        EXPECT_EQ(Exists("log.txt") ? Read("log.txt") : "", c.log);
    }
}

} // namespace
} // namespace vexel::e2e
