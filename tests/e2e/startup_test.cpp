// The tool from its start: COMSPEC, the arguments, and a standard output
// that cannot be written.
#include "table.h"

namespace vexel::e2e {

const std::string NoComSpec = V("EnvNotExists", "Get Env(COMSPEC) Error");
// 259 bytes, within Windows' 8-bit file calls; cut at 256 it would end in "./lon".
const std::string LongName = [] {
    std::string name;
    for (int i = 0; i < 125; ++i)
        name += "./";
    return name + "longer.mk";
}();

// clang-format off
const Case Cases[] = {
    // COMSPEC is checked first of all: before the arguments, and no log is made.
    {.name = "ComSpecUnsetWithThreeArguments", .files = {"mk=0"}, .out = NoComSpec, .exit = 255,
     .args = {"mk", "log.txt", "x"}, .comSpec = std::nullopt},
    {.name = "ComSpecEmpty", .files = {"mk=0"}, .out = NoComSpec, .exit = 255,
     .args = {"mk", "log.txt"}, .comSpec = ""},
    {.name = "ComSpecOf1024Bytes", .files = {"mk=0"}, .out = UpToDate, .exit = 0,
     .comSpec = std::string(1024, 'c')},
    {.name = "ComSpecOf1025Bytes", .files = {"mk=0"},
     .out = V("EnvLengthOver", "Get Env(COMSPEC) Error"), .exit = 255, .args = {"mk", "log.txt"},
     .comSpec = std::string(1025, 'c')},
    // Arguments.
    {.name = "ThreeArgumentsCreateNothing", .out = V("Param Error"), .exit = 255,
     .args = {"mk", "log", "x"}},
    {.name = "NoArgumentAndNoMakeFile", .out = OpenError, .exit = 255, .args = {}},
    {.name = "NoArgumentReadsMakeFile", .files = {"MakeFile=0"}, .out = UpToDate, .exit = 0,
     .args = {}},
    {.name = "LongMakefileNameIsTakenWhole", .files = {"longer.mk=0"}, .out = UpToDate, .exit = 0,
     .args = {LongName}},
    {.name = "ArgumentAfterTheEmptyOneIsTheLog", .files = {"MakeFile=0"}, .out = UpToDate,
     .exit = 0, .args = {"MakeFile", "", "log"}},
    // A failed write to standard output ends the run with status 1, before the announced command
    // starts.
    {.name = "StdoutClosedNothingToDo", .files = {"mk=0"}, .out = "", .exit = 1,
     .to = Stdout::Closed},
    {.name = "StdoutFullACommand", .mk = Root, .out = "", .exit = 1, .to = Stdout::DevFull},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Startup, TableRow, ::testing::ValuesIn(Cases), NameOf);

} // namespace vexel::e2e
