// The log: where message lines, the commands' output and the notices go when
// a run names a log, and what happens when the log cannot take them.
#include "table.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace vexel::e2e {
namespace {

// The notice on the caller's standard error of a log that cannot be created.
std::string Lost(const std::string& name) {
    return "Vexel: Log file " + name + " cannot be created; messages are lost\r\n";
}

// The one-line report of a message line that the log could not take.
const std::regex LogFailed("Unexpected failure InOutError in module [^\r\n]+ at 0x[0-9A-F]+: "
                           "I/O error [0-9]+: writing to the log failed \\([^\r\n]+\\)\\.\r\n");

// clang-format off
const Case LogCases[] = {
    // The log: one that cannot be created is told once, on standard error; the run goes on.
    {.name = "LogThatCannotBeCreated", .out = "", .exit = 255,
     .args = {"missing.mk", "no-such-dir/log"}, .err = Lost("no-such-dir/log")},
    // Every write lands at the log's end, so a command appending to it by name keeps its line.
    {.name = "CommandAppendingToTheLogByName", .mk = "\t@ append log by-name\n\t@ append ran x\n",
     .out = V("\t@ append log by-name") + "by-name\n" + Echo("x"), .exit = 0, .ran = "x\n",
     .args = {"mk", "log"}, .where = PosixOnly},
    // A FIFO that nobody reads cannot be the log, said at once; a device is written as it is.
    {.name = "FifoWithoutAReader", .files = {"mk=0", "f.log|"}, .out = "", .exit = 0,
     .args = {"mk", "f.log"}, .where = PosixOnly, .err = Lost("f.log")},
    {.name = "NullDeviceDiscards", .files = {"mk=0"}, .out = "", .exit = 0,
     .args = {"mk", "/dev/null"}, .where = PosixOnly},
    // Without descriptors to keep the caller's standard output and error in, no log is made:
    // they are never lost.
    {.name = "TooFewDescriptorsForALog", .files = {"mk=0"}, .out = "", .exit = 0,
     .args = {"mk", "x.log"}, .where = PosixOnly, .err = Lost("x.log"), .descriptors = 4},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Log, Tool, ::testing::ValuesIn(LogCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A message line that the log cannot take ends the run as a failed write to
// standard output does: the log closed and the standard handles restored
// first, then the report on the caller's standard output, exit status 1; the
// announced command never starts. (Under Wine, the device by its Z: name.)
TEST_F(E2eTest, FailedWriteToTheLogIsAnUnexpectedFailure) {
    Write("mk", "\t@ append ran x\n");
    const Result result = Run({"mk", ToolPath("/dev/full")});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(std::regex_match(result.out, LogFailed)) << result.out;
    EXPECT_EQ(Read("ran"), "");
}

// While a run holds its log, another run naming the same file neither empties
// nor writes it: it goes on without a log, and its notice goes to its standard
// error, which is the first run's log, at the end.
TEST_F(E2eTest, SecondRunLeavesALogInUseAlone) {
    const std::string second = "\t\"" + ToolPath(std::getenv("VEXEL_EXE")) + "\" second.mk log";
    Write("second.mk", "\t@ append ran second\n");
    Write("mk", second + "\n\t@ append ran first\n");
    const Result result = Run({"mk", "log"});
    EXPECT_EQ(Read("log"), Expand(V(second) + Lost("log") + Echo("first")));
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(Read("ran"), "second\nfirst\n");
}

// A FIFO with a reader takes the lines as a pipe; once the reader has gone,
// the next line fails as on a full disk.
TEST_F(E2eTest, FifoLogWhoseReaderGoes) {
    if (UnderWine()) GTEST_SKIP() << "POSIX only: FIFOs";
    Make({"f.log|"});
    Write("mk", "\t@ wait gone\n\t@ append ran late\n");
    const int reader = ::open((Work() / "f.log").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const pid_t pid = ::fork();
    if (pid == 0) { // reads the first line (written at once), then goes
        pollfd ready{reader, POLLIN, 0};
        char line[4096] = {};
        const ssize_t got = ::poll(&ready, 1, 60000) == 1 ? ::read(reader, line, sizeof line) : 0;
        ::close(reader);
        std::ofstream(Work() / "gone") << std::string(line, got > 0 ? got : 0);
        ::_exit(0);
    }
    ::close(reader);
    const Result result = Run({"mk", "f.log"});
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(Read("gone"), Expand(V("\t@ wait gone")));
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(std::regex_match(result.out, LogFailed)) << result.out;
}

} // namespace
} // namespace vexel::e2e
