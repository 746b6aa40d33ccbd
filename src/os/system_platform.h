// The operating system's side of each interface, and the whole of it as the
// program's entry makes it once. Each class is declared once, here, and
// implemented once per platform, in os/posix/ or os/win32/, in the file
// named after its role (posix_streams.cpp, win32_streams.cpp...): the build
// chooses which. What a platform keeps for a role is its own, in State.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "os/platform.h"

namespace vexel {

// *_files.cpp
class SystemFiles : public FileSystem {
public:
    SystemFiles();
    ~SystemFiles() override;
    bool ReadWholeFile(const std::string& name, std::string& contents) override;
    bool SameFile(const std::string& first, const std::string& second) override;
    AgeStamp FileAgeStamp(const std::string& name) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// *_process.cpp
class SystemProcesses : public ProcessRunner {
public:
    SystemProcesses();
    ~SystemProcesses() override;
    void PrepareChildStart() override;
    std::unique_ptr<ChildProcess> StartChild(const std::string& command,
                                             const std::string& directory) override;
    void Pause(unsigned milliseconds) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// *_streams.cpp
class SystemStreams : public OutputStreams {
public:
    SystemStreams();
    ~SystemStreams() override;
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
    struct State;
    std::unique_ptr<State> state_;
};

// *_facts.cpp
class SystemFacts : public ProcessFacts {
public:
    SystemFacts(int argc, char** argv);
    ~SystemFacts() override;
    EnvironmentValue Environment(const std::string& name, std::size_t maxLength) override;
    std::vector<std::string> Arguments() override;
    std::string CurrentDirectory() override;
    std::string ModuleFileName() override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// *_names.cpp
class SystemNames : public NameRules {
public:
    LeadByteSet LeadBytes() override;
    void MatchKey(std::string_view name, std::string& key) override;
};

// *_platform.cpp
class SystemPlatform {
public:
    SystemPlatform(int argc, char** argv);
    SystemPlatform(const SystemPlatform&) = delete;
    SystemPlatform& operator=(const SystemPlatform&) = delete;

    Platform Get() { return {files_, processes_, streams_, facts_, names_}; }

private:
    SystemFiles files_;
    SystemProcesses processes_;
    SystemStreams streams_;
    SystemFacts facts_;
    SystemNames names_;
};

} // namespace vexel
