// Runs the built tool as a user would: in a fresh directory per test, with
// files whose modification times are set explicitly, and gives back the exact
// bytes of its standard output and standard error and its exit status.
//
// Environment:
//   VEXEL_EXE       the tool to run (ctest sets it)
//   VEXEL_CHILD     the child program that makefile commands name (ctest sets it)
//   VEXEL_WINE      when set (e.g. "wine"), run the Windows build under it
//   VEXEL_LAUNCHER  Windows program that starts the tool with a changed
//                   environment: LAUNCHER [--unset NAME | --set NAME=VALUE]... -- EXE ARGS...
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace vexel::e2e {

namespace fs = std::filesystem;

enum class Stdout { Captured, Closed, DevFull };

// COMSPEC: the default is a usual value (under Wine: Wine's own), none unsets it.
struct Options {
    std::optional<std::string> comSpec = "C:\\Windows\\system32\\cmd.exe";
    Stdout out = Stdout::Captured;
    int signal = 0;       // sent once a command has made the file "started"
    bool toGroup = false; // to the tool and its child, as a terminal's Ctrl-C
    int directory = -1;   // a descriptor to start in; the work directory by default
    std::vector<std::string> environment = {}; // "NAME=VALUE", set for the run
    int descriptors = 0;                       // a limit on open descriptors (POSIX); 0: none
    bool console = false; // under Wine, a console of its own, which Ctrl+C can reach
    std::chrono::seconds limit = std::chrono::minutes(1); // then the run is killed
};

struct Result {
    std::string out, err;
    int status = -1; // as the shell sees it; 1000 + N when killed by signal N
};

bool UnderWine();

class ToolInFreshDirectory : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Relative names are taken from the test's fresh work directory, and "@"
    // in written text stands for the child program, "%" for the tool.
    const fs::path& Work() const { return work_; }
    std::string Expand(std::string text) const;
    void Write(const fs::path& name, const std::string& text) const;
    // Each "name=S" is an empty file written S seconds (a decimal, to the
    // nanosecond, may be negative) after a fixed even second, each "name@S"
    // one written S seconds after 1970-01-01 00:00:00 UTC ("name#N=S": N
    // bytes long, sparse); each "name/" a directory, each "name|" a FIFO,
    // each "name*" a link to the child program, each "name>target" a link
    // to target.
    void Make(const std::vector<std::string>& files) const;
    // Each "name=S" or "name@S", as Make() takes them: the file's last-write
    // time, to the nanosecond (under Wine to 100 ns, as Windows keeps it).
    void ExpectTimes(const std::vector<std::string>& files) const;
    std::string Read(const fs::path& name) const; // "" when missing
    std::size_t Entries() const;                  // in the work directory, walked
    // A path as the tool and its children see it (Z:\... under Wine).
    std::string ToolPath(const fs::path& path) const;

    // Runs the tool; one that has not ended within the options' limit is
    // killed and the test fails.
    Result Run(const std::vector<std::string>& args, const Options& options = {}) const;

private:
    fs::path root_, work_; // root_ holds work_ and the captured output
};

} // namespace vexel::e2e
