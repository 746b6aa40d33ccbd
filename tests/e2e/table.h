// The table of end-to-end cases, shared by the files that hold its rows: each
// row is run by the one test of vexel_test.cpp in a fresh directory; "@" in a
// makefile or an expected output stands for the child program (tests/child).
#pragma once

#include <ostream>

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
    std::vector<std::string> env = {}; // "NAME=VALUE" for the run
    std::string err = "";              // standard error
    int descriptors = 0;               // see Options
};

// What the tool prints: "Vexel: " and each line; the echoes of "append ran" commands.
std::string V(auto... lines) {
    return (("Vexel: " + std::string(lines) + "\r\n") + ...);
}
std::string Echo(auto... names) {
    return V(("\t@ append ran " + std::string(names))...);
}

inline void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Tool : public E2eTest, public ::testing::WithParamInterface<Case> {};

} // namespace vexel::e2e
