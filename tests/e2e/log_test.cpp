// The log: where message lines, the commands' output and the notices go when
// a run names a log, and what happens when the log cannot take them.
#include "table.h"

namespace vexel::e2e {
namespace {

// The notice on the caller's standard error of a log that cannot be created.
std::string Lost(const std::string& name) {
    return "Vexel: Log file " + name + " cannot be created; messages are lost\r\n";
}

// clang-format off
const Case LogCases[] = {
    // The log: one that cannot be created is told once, on standard error; the run goes on.
    {.name = "LogThatCannotBeCreated", .files = {"mk=0"}, .out = "", .exit = 0,
     .args = {"mk", "no-such-dir/log"}, .err = Lost("no-such-dir/log")},
    {.name = "LogThatCannotBeCreatedMissingMakefile", .out = "", .exit = 255,
     .args = {"missing.mk", "no-such-dir/log"}, .err = Lost("no-such-dir/log")},
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
    EXPECT_EQ(result.out.rfind("Unexpected failure InOutError in module ", 0), 0u) << result.out;
    EXPECT_NE(result.out.find(": I/O error "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(": writing to the log failed ("), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("\r\n"), result.out.size() - 2) << "one line: " << result.out;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(Read("ran"), "");
}

} // namespace
} // namespace vexel::e2e
