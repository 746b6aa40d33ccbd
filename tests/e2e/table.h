// Runs the built tool on one table of cases, split by concern over the
// *_test.cpp files of this folder: a makefile, files with their times,
// arguments, and the exact output and exit status expected. Each case runs
// in a fresh directory; "@" in a makefile or an expected output stands for
// the child program (tests/child), "%" for the tool itself.
#pragma once

#include <string>
#include <vector>

#include "harness.h"

namespace vexel::e2e {

// Some cases cannot be arranged on the other platform: a command ended by a
// signal, FIFOs and devices by POSIX names; 32-bit exit codes, devices by
// Windows names.
enum Where { Both, PosixOnly, WineOnly };

inline const std::optional<std::string> ComSpec = Options{}.comSpec;

struct Case {
    const char* name;
    std::string mk = "";                 // written to "mk"; "": none
    std::vector<std::string> files = {}; // made first, see Make()
    std::string out;      // standard output; with a log named "log" last, the log's bytes
    int exit;             // as the shell sees it
    std::string ran = ""; // the lines that commands appended to "ran"
    std::vector<std::string> args = {"mk"};
    Where where = Both;
    std::optional<std::string> comSpec = ComSpec;
    Stdout to = Stdout::Captured;
    std::vector<std::string> env = {};            // "NAME=VALUE" for the run
    std::string err = "";                         // standard error
    int descriptors = 0;                          // see Options
    std::vector<std::string> times = {};          // after the run, see ExpectTimes()
    std::string next = "";                        // the output of a second run straight after
    std::chrono::seconds limit = Options{}.limit; // for the whole run
};

// What the tool prints: "Vexel: " and each line; the echoes of "append ran" commands.
std::string V(auto... lines) {
    return (("Vexel: " + std::string(lines) + "\r\n") + ...);
}
std::string Echo(auto... names) {
    return V(("\t@ append ran " + std::string(names))...);
}

// The notice on the caller's standard error of a log that cannot be created.
inline std::string Lost(const std::string& name) {
    return "Vexel: Log file " + name + " cannot be created; messages are lost\r\n";
}

inline const std::string UpToDate = V("Target is up to date."),
                         OpenError = V("MakeFile Open Error");
inline const std::string Root = "\t@ append ran root\n";
inline const std::string OutIn = "out: in\n\t@ append ran out\n", EchoOut = Echo("out");
inline const std::string X300(300, 'x'), Long = "\t@ append ran " + X300 + "\n\t@ exit 3\n";
inline const std::string LongOut = Echo(X300) + V("\t@ exit 3", "Command error return(3)");

inline void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

inline std::string NameOf(const ::testing::TestParamInfo<Case>& info) {
    return info.param.name;
}

// Runs a case: TEST_P(TableRow, Runs); each file instantiates it with its cases.
class TableRow : public ToolInFreshDirectory, public ::testing::WithParamInterface<Case> {};

} // namespace vexel::e2e
