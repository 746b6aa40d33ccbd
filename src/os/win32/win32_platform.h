// The Win32 implementation of the operating-system layer: one class per
// interface, each in the file named after its role.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "os/platform.h"

namespace vexel {

// win32_files.cpp
class Win32FileSystem : public FileSystem {
public:
    bool ReadWholeFile(const std::string& name, std::string& contents) override;
    bool SameFile(const std::string& first, const std::string& second) override;
    AgeStamp FileAgeStamp(const std::string& name) override;
};

// win32_process.cpp
class Win32ProcessRunner : public ProcessRunner {
public:
    void PrepareChildStart() override;
    std::unique_ptr<ChildProcess> StartChild(const std::string& command,
                                             const std::string& directory) override;
    void Pause(unsigned milliseconds) override;

private:
    // Filled once before the first command and passed to every child.
    STARTUPINFOA startupInfo_{};
};

// win32_streams.cpp
class Win32Streams : public OutputStreams {
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
    // The log and the standard handles it replaces.
    bool logRedirected_ = false;
    HANDLE logHandle_ = INVALID_HANDLE_VALUE;
    HANDLE savedStdError_ = nullptr;
    HANDLE savedStdOutput_ = nullptr;

    // The standard output that message lines are bound to.
    HANDLE boundOutput_ = INVALID_HANDLE_VALUE;
};

// win32_facts.cpp
class Win32Facts : public ProcessFacts {
public:
    EnvironmentValue Environment(const std::string& name, std::size_t maxLength) override;
    std::vector<std::string> Arguments() override;
    std::string CurrentDirectory() override;
    std::string ModuleFileName() override;
};

// win32_names.cpp
class Win32NameRules : public NameRules {
public:
    LeadByteSet LeadBytes() override;
    void MatchKey(std::string_view name, std::string& key) override;

private:
    static std::string SortKey(std::string_view name);
};

} // namespace vexel
