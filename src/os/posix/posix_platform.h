// The POSIX implementation of the operating-system layer: one class per
// interface, each in the file named after its role.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "os/platform.h"

namespace vexel {

// posix_files.cpp
class PosixFileSystem : public FileSystem {
public:
    bool ReadWholeFile(const std::string& name, std::string& contents) override;
    bool SameFile(const std::string& first, const std::string& second) override;
    AgeStamp FileAgeStamp(const std::string& name) override;
};

// posix_process.cpp
class PosixProcessRunner : public ProcessRunner {
public:
    void PrepareChildStart() override {}
    std::unique_ptr<ChildProcess> StartChild(const std::string& command,
                                             const std::string& directory) override;
    void Pause(unsigned milliseconds) override;
};

// posix_streams.cpp
class PosixStreams : public OutputStreams {
public:
    bool CreateLog(const std::string& name) override;
    void RedirectToLog() override;
    int WriteLog(const char* data, std::size_t size) override;
    void RestoreFromLog() override;
    int BindStandardOutput(bool& consoleDevice) override;
    int WriteStandardOutput(const char* data, std::size_t size) override;
    void WriteCurrentStandardOutput(std::string_view text) override;
    void WriteCurrentStandardError(std::string_view text) override;
    std::string DescribeError(int code) override;

private:
    bool logRedirected_ = false;
    int logDescriptor_ = -1;
    int savedOutput_ = -1;
    int savedError_ = -1;
    int boundOutput_ = 1;
};

// posix_facts.cpp
class PosixFacts : public ProcessFacts {
public:
    PosixFacts(int argc, char** argv);
    EnvironmentValue Environment(const std::string& name, std::size_t maxLength) override;
    std::vector<std::string> Arguments() override;
    std::string CurrentDirectory() override;
    std::string ModuleFileName() override;

private:
    std::vector<std::string> arguments_;
    std::string programName_;
};

// posix_names.cpp
class PosixNameRules : public NameRules {
public:
    LeadByteSet LeadBytes() override;
    void MatchKey(std::string_view name, std::string& key) override;
};

} // namespace vexel
