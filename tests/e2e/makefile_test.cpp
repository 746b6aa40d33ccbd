// The makefile: what may be one, its line ends, and the target lines
// that end a run.
#include "table.h"

namespace vexel::e2e {

const std::string Syntax = V("Target Line Syntax error");

// clang-format off
const Case Cases[] = {
    // Makefile errors end the run before anything runs, root commands included.
    {.name = "SyntaxErrorNoSeparator", .mk = Root + "a b c\n", .out = Syntax, .exit = 255},
    {.name = "DupTargetAsWritten", .mk = Root + "\"my t\": a\n\t@ append ran t\n \"my t\": b\n",
     .out = V("Dup Target \"my t\""), .exit = 255},
    // Lines end at CR LF, LF or CR: CR LF is one line end, CR alone another.
    {.name = "CrLfAndCrLineEnds",
     .mk = "# c\rapp: lib\r\t@ append ran app\r\n\t@ append ran 2\rlib: src\r\n\t@ append ran lib",
     .files = {"app=4", "lib=0", "src=2"}, .out = Echo("lib", "app", "2"), .exit = 0,
     .ran = "lib\napp\n2\n"},
    // A UTF-8 byte-order mark at the start is no part of the first target's name.
    {.name = "ByteOrderMarkBeforeTarget", .mk = "\xEF\xBB\xBF" + OutIn,
     .files = {"out=2", "in=1"}, .out = UpToDate, .exit = 0},
    // Only a file on disk is a makefile: nothing waits for a writer or reads a device.
    {.name = "MakefileIsADirectory", .files = {"mk/"}, .out = OpenError, .exit = 255},
    {.name = "MakefileIsAFifo", .files = {"fifo|"}, .out = OpenError, .exit = 255,
     .args = {"fifo"}, .where = PosixOnly},
    {.name = "MakefileIsNul", .out = OpenError, .exit = 255, .args = {"NUL"}, .where = WineOnly},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Makefile, TableRow, ::testing::ValuesIn(Cases), NameOf);

} // namespace vexel::e2e
