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

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace vexel::e2e {

namespace fs = std::filesystem;

// Where the tool's standard output goes.
enum class Stdout { Captured, Closed, DevFull };

struct Options {
    fs::path cwd{}; // empty: the test's work directory
    // Changes to the environment: a value sets the variable, none removes it.
    std::vector<std::pair<std::string, std::optional<std::string>>> env{};
    Stdout out = Stdout::Captured;
};

struct Result {
    std::string out; // bytes written to standard output
    std::string err; // bytes written to standard error
    int status = -1; // exit status as the shell sees it; 1000 + N when killed by signal N
};

bool UnderWine();
// Empty when VEXEL_LAUNCHER is not set.
std::string Launcher();

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The test's fresh work directory; relative names below are taken from it.
    const fs::path& Work() const { return work_; }
    void Write(const fs::path& name, std::string_view bytes) const;
    // Modification time := a fixed base time (an even second) + offset seconds.
    void SetTime(const fs::path& name, long offset) const;
    std::string Read(const fs::path& name) const;
    bool Exists(const fs::path& name) const;
    // The names in the work directory, sorted, subdirectories walked.
    std::vector<std::string> Listing() const;

    // A path as the tool and its children see it (Z:\... under Wine).
    std::string ToolPath(const fs::path& path) const;
    // The child program as a makefile command names it.
    std::string Child() const;
    // A makefile command line, its TAB included: the child with arguments.
    std::string Command(std::string_view arguments) const;

    Result Run(const std::vector<std::string>& args, const Options& options = {}) const;

private:
    fs::path root_; // holds work_ and the captured output
    fs::path work_;
};

} // namespace vexel::e2e

#define VEXEL_SKIP_UNDER_WINE(reason)                                                              \
    if (::vexel::e2e::UnderWine()) GTEST_SKIP() << "not under Wine: " << reason

// Wine builds the Windows environment itself (COMSPEC is always set), so
// cases that change it go through the launcher.
#define VEXEL_NEED_ENVIRONMENT_CONTROL()                                                           \
    if (::vexel::e2e::UnderWine() && ::vexel::e2e::Launcher().empty())                             \
    GTEST_SKIP() << "Wine sets COMSPEC itself; set VEXEL_LAUNCHER to change the environment"
