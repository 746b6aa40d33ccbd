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

} // namespace
} // namespace vexel::e2e
