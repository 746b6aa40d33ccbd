// The log: what reaches it, what may be one, and what another run or a
// full disk does to it.
#include "table.h"

namespace vexel::e2e {

// clang-format off
const Case Cases[] = {
    {.name = "LongLinesReachTheLogWhole", .mk = Long, .out = LongOut, .exit = 255,
     .ran = X300 + "\n", .args = {"mk", "log"}},
    {.name = "StdoutClosedWithALog", .files = {"mk=0"}, .out = UpToDate, .exit = 0,
     .args = {"mk", "log"}, .to = Stdout::Closed},
    // A log naming the makefile's own file is never created over it.
    {.name = "LogIsTheMakefileSpeltOtherwise", .mk = OutIn, .out = OpenError, .exit = 255,
     .args = {"mk", "./mk"}},
    // one that cannot be created is told once, on standard error; the run goes on without
    // its lines, and the caller's standard output and error stay: a command's own output is seen.
    {.name = "CommandOutputWithALogThatCannotBeCreated", .mk = "\t@ print said\n", .out = "said",
     .exit = 0, .args = {"mk", "no-such-dir/log"}, .err = Lost("no-such-dir/log")},
    // every write lands at its end, so a command appending to it by name keeps its line.
    {.name = "CommandAppendingToTheLogByName", .mk = "\t@ append log by-name\n\t@ append ran x\n",
     .out = V("\t@ append log by-name") + "by-name\n" + Echo("x"), .exit = 0, .ran = "x\n",
     .args = {"mk", "log"}, .where = PosixOnly},
    // while a run holds it, another run ("%", a command of the first) neither empties
    // nor writes it; its notice goes to its standard error, the first run's log, at the end.
    {.name = "SecondRunLeavesALogInUseAlone", .mk = "\t% second.mk log\n\t@ append ran first\n",
     .files = {"second.mk=0"}, .out = V("\t% second.mk log") + Lost("log") + Echo("first"),
     .exit = 0, .ran = "first\n", .args = {"mk", "log"}},
    // a device takes the lines (a FIFO that nobody reads cannot be it: see PosixLog).
    {.name = "NullDeviceDiscards", .files = {"mk=0"}, .out = "", .exit = 0,
     .args = {"mk", "/dev/null"}, .where = PosixOnly},
    // without descriptors to keep the caller's standard output and error in, none is
    // made, and they are never lost.
    {.name = "TooFewDescriptorsForALog", .files = {"mk=0"}, .out = "", .exit = 0,
     .args = {"mk", "x.log"}, .where = PosixOnly, .err = Lost("x.log"), .descriptors = 4},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Log, TableRow, ::testing::ValuesIn(Cases), NameOf);

// A log naming the makefile through a hard link, or a makefile that does not
// exist yet: the makefile is never read from the log.
TEST_F(ToolInFreshDirectory, LogIsNeverTheMakefile) {
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

// A message line that the log cannot take ends the run as a failed write to
// standard output does: the log closed and the standard handles restored
// first, then the report on the caller's standard output, exit status 1; the
// announced command never starts. (Under Wine, the device by its Z: name.)
TEST_F(ToolInFreshDirectory, FailedWriteToTheLogIsAnUnexpectedFailure) {
    Write("mk", "\t@ append ran x\n");
    const Result result = Run({"mk", ToolPath("/dev/full")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out.rfind("Unexpected failure InOutError in module ", 0), 0u) << result.out;
    EXPECT_NE(result.out.find(": writing to the log failed ("), std::string::npos) << result.out;
    EXPECT_EQ(Read("ran"), "");
}

} // namespace vexel::e2e
