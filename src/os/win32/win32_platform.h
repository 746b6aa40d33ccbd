// The Win32 implementation of the operating-system layer.
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
#include <unordered_map>
#include <vector>

#include "os/platform.h"

namespace vexel {

class Win32Platform : public Platform {
public:
    Win32Platform(int argc, char** argv);
    ~Win32Platform() override;

    // Files (win32_files.cpp).
    bool ReadWholeFile(const std::string& name, std::string& contents) override;
    int32_t FileAgeStamp(const std::string& name) override;

    // Commands (win32_process.cpp).
    void PrepareChildStart() override;
    std::unique_ptr<ChildProcess> StartChild(const std::string& commandLine,
                                             const std::string& directory) override;
    void Pause(unsigned milliseconds) override;

    // Streams (win32_streams.cpp).
    bool CreateLog(const std::string& name) override;
    void RedirectToLog() override;
    void WriteLog(const char* data, std::size_t size) override;
    void RestoreFromLog() override;
    int BindStandardOutput(bool& consoleDevice) override;
    int WriteStandardOutput(const char* data, std::size_t size) override;
    void WriteCurrentStandardOutput(std::string_view text) override;
    void WriteCurrentStandardError(std::string_view text) override;
    std::string DescribeError(int code) override;

    // Process facts (win32_platform.cpp).
    uint32_t ReadEnvironment(const std::string& name, char* buffer, uint32_t size) override;
    bool CommandLineText(std::string& text) override;
    std::vector<std::string> ArgumentVector() override;
    std::string CurrentDirectory() override;
    LeadByteSet LeadBytes() override;
    std::string MatchKey(std::string_view name) override;
    std::string ModuleFileName() override;

private:
    std::string SortKey(std::string_view name);

    // Names are written many times in a makefile; each is keyed once.
    std::unordered_map<std::string, std::string> matchKeys_;
    std::vector<std::string> arguments_;

    // The log and the standard handles it replaces.
    bool logRedirected_ = false;
    HANDLE logHandle_ = INVALID_HANDLE_VALUE;
    HANDLE savedStdError_ = nullptr;
    HANDLE savedStdOutput_ = nullptr;

    // The standard output that message lines are bound to.
    HANDLE boundOutput_ = INVALID_HANDLE_VALUE;

    // Filled once before the first command and passed to every child.
    STARTUPINFOA startupInfo_{};
};

} // namespace vexel
