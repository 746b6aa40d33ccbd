// Staleness by file times set explicitly, the build order, and cycles.
#include "table.h"

namespace vexel::e2e {

// " a1 a2 ... aN"
std::string Numbered(const std::string& stem, int count) {
    std::string names;
    for (int i = 1; i <= count; ++i)
        names += " " + stem + std::to_string(i);
    return names;
}

const std::string Worked =
    "\t@ append ran begin\napp: lib\n\t@ append ran app\nlib: src\n\t@ append ran lib\n"
    "\ndoc: notes\n\t@ append ran doc\n";

// clang-format off
const Case Cases[] = {
    // Times to the file system's resolution, in UTC, whatever their date: a quarter second in
    // one two-second step counts, equal times are up to date. (Times of 1970 are read and set
    // to the nanosecond by the rows of failed targets.)
    {.name = "QuarterSecondNewerDependencyIsStale", .mk = OutIn, .files = {"out=0", "in=0.25"},
     .out = EchoOut, .exit = 0, .ran = "out\n"},
    {.name = "EqualTimesAreUpToDate", .mk = OutIn, .files = {"out=1.5", "in=1.5"},
     .out = UpToDate, .exit = 0},
    // 05:30 and 06:10 UTC: 01:30 EDT, then 01:10 EST in the hour that repeats.
    {.name = "NewerInTheRepeatedHourIsStale", .mk = OutIn,
     .files = {"out@1793511000", "in@1793513400"}, .out = EchoOut, .exit = 0, .ran = "out\n",
     .env = {"TZ=America/New_York"}},
    {.name = "DependencyOf2110IsNewerThanToday", .mk = OutIn, .files = {"out=0", "in@4417977600"},
     .out = EchoOut, .exit = 0, .ran = "out\n"},
    {.name = "DependencyOver4GiBIsNewer", .mk = OutIn, .files = {"out=0", "in#4294967297=2"},
     .out = EchoOut, .exit = 0, .ran = "out\n"},
    {.name = "MissingDependencyIsNotStale", .mk = OutIn, .files = {"out=0"}, .out = UpToDate,
     .exit = 0},
    {.name = "DirectoryTargetIsAlwaysStale", .mk = OutIn, .files = {"out/", "in=-100"},
     .out = EchoOut, .exit = 0, .ran = "out\n"},
    // Names read by the search, not by the cheap attributes call: a pattern takes the first
    // match; a device name has the search's time (1601 under Wine), so it is not missing.
    {.name = "PatternDependencyTakesItsMatch", .mk = "out: i?\n\t@ append ran out\n",
     .files = {"out=0", "in=2"}, .out = EchoOut, .exit = 0, .ran = "out\n"}, // and is newer
    {.name = "DeviceTargetIsNotMissing", .mk = "nul: gone\n\t@ append ran nul\n", .out = UpToDate,
     .exit = 0, .where = WineOnly},
    // Names between double or single quotes are unquoted for their files. Unrelated stale
    // targets run last first.
    {.name = "QuotedNamesAreUnquotedForFiles",
     .mk = "\"my out\": \"my in\"\n\t@ append ran out\nb: 'b-in'\n\t@ append ran b\n",
     .files = {"my out=0", "my in=2", "b=0", "b-in=2"}, .out = Echo("b", "out"), .exit = 0,
     .ran = "b\nout\n"},
    // A TAB does not part names: "in<TAB>x" is one name, of no file. The 65th name of a line is
    // asked for like the first 64.
    {.name = "TabInANameAndTheNamePastTheFirst64",
     .mk = "a: in\tx\n\t@ append ran a\nb:" + Numbered("a", 61) + " in\n\t@ append ran b\n",
     .files = {"a=0", "b=0", "in=2"}, .out = Echo("b"), .exit = 0, .ran = "b\n"},
    // A pattern's first match in sorted order counts, found without expanding the rest:
    // "a-/x/y" before "a/x/y", as '-' sorts before '/'; "*" skips hidden names.
    {.name = "PatternOverTheTreeTakesItsFirstMatch", .mk = "t: */*/*\n\t@ append ran t\n",
     .files = {"t=5", ".h/x/y=1", "a/x/y=1", "a-/x/y=9"}, .out = Echo("t"), .exit = 0,
     .ran = "t\n", .where = PosixOnly},
    // Build order.
    {.name = "WorkedExample", .mk = Worked,
     .files = {"notes=0", "doc=2", "lib=2", "src=4", "app=6"}, .out = Echo("begin", "lib", "app"),
     .exit = 0, .ran = "begin\nlib\napp\n"},
    {.name = "RootCommandsRunWhenAllIsUpToDate", .mk = Root + OutIn, .files = {"in=0", "out=2"},
     .out = Echo("root"), .exit = 0, .ran = "root\n"},
    // Cycles: reported before any command runs.
    {.name = "CycleNamesItsFirstTarget",
     .mk = Root + "a: b\n\t@ append ran a\nb: a\n\t@ append ran b\n",
     .out = V("Circular a dependency dropped."), .exit = 255},
    {.name = "CycleIgnoresLetterCase", .mk = "Z: z\n",
     .out = V("Circular Z dependency dropped."), .exit = 255},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Staleness, TableRow, ::testing::ValuesIn(Cases), NameOf);

} // namespace vexel::e2e
