// The operating system's side of each interface, and the whole of it as the
// program's entry makes it once. Each class is declared once, here, and
// implemented once per platform, in os/posix/ or os/win32/, in the file
// named after its role (posix_log.cpp, win32_log.cpp...): the build chooses
// which. What a platform keeps for a role is its own, in State.
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
    std::optional<std::string> ReadWholeFile(const std::string& name) override;
    bool SameFile(const std::string& first, const std::string& second) override;
    AgeStamp FileAgeStamp(const std::string& name) override;
    std::optional<RegularFile> FindRegularFile(const std::string& name) override;
    void SetFileAgeStamp(const std::string& name, const std::optional<FileIdentity>& was,
                         const AgeStamp& stamp) override;

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
    std::optional<std::unique_ptr<ChildProcess>> StartChild(const std::string& command) override;
    void Pause(unsigned milliseconds) override;
    std::unique_ptr<InterruptionHold> HoldInterruptions() override;
    [[noreturn]] void EndInterrupted(const Interruption& interruption) override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// *_log.cpp
class SystemLog : public LogFile {
public:
    SystemLog();
    ~SystemLog() override;
    std::optional<SystemError> Create(const std::string& name) override;
    void Redirect() override;
    std::optional<SystemError> Write(std::string_view bytes) override;
    void Restore() override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// *_streams.cpp
class SystemStandardStreams : public StandardStreams {
public:
    SystemStandardStreams();
    ~SystemStandardStreams() override;
    std::optional<SystemError> BindOutput() override;
    bool BoundToConsole() override;
    std::optional<SystemError> WriteOutput(std::string_view bytes) override;
    void WriteCurrentOutput(std::string_view text) override;
    void WriteCurrentError(std::string_view text) override;
    std::string DescribeError(SystemError error) override;

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
    std::optional<std::string> ModuleFileName() override;

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

    Platform Get() { return {files_, processes_, log_, standard_, facts_, names_}; }

private:
    SystemFiles files_;
    SystemProcesses processes_;
    SystemLog log_;
    SystemStandardStreams standard_;
    SystemFacts facts_;
    SystemNames names_;
};

} // namespace vexel
