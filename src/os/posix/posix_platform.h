// The POSIX implementation of the operating-system layer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "os/platform.h"

namespace vexel {

class PosixPlatform : public Platform {
public:
    PosixPlatform(int argc, char** argv);
    ~PosixPlatform() override;

    // Files (posix_files.cpp).
    bool ReadWholeFile(const std::string& name, std::string& contents) override;
    int32_t FileAgeStamp(const std::string& name) override;

    // Commands (posix_process.cpp).
    void PrepareChildStart() override {}
    std::unique_ptr<ChildProcess> StartChild(const std::string& commandLine,
                                             const std::string& directory) override;
    void Pause(unsigned milliseconds) override;

    // Streams (posix_streams.cpp).
    bool CreateLog(const std::string& name) override;
    void RedirectToLog() override;
    void WriteLog(const char* data, std::size_t size) override;
    void RestoreFromLog() override;
    int BindStandardOutput(bool& consoleDevice) override;
    int WriteStandardOutput(const char* data, std::size_t size) override;
    void WriteCurrentStandardOutput(std::string_view text) override;
    void WriteCurrentStandardError(std::string_view text) override;
    std::string DescribeError(int code) override;

    // Process facts (posix_platform.cpp).
    uint32_t ReadEnvironment(const std::string& name, char* buffer, uint32_t size) override;
    bool CommandLineText(std::string& text) override;
    std::vector<std::string> ArgumentVector() override;
    std::string CurrentDirectory() override;
    LeadByteSet LeadBytes() override;
    std::string MatchKey(std::string_view name) override;
    std::string ModuleFileName() override;

private:
    std::vector<std::string> arguments_;
    std::string programName_;
    bool logRedirected_ = false;
    int logDescriptor_ = -1;
    int savedOutput_ = -1;
    int savedError_ = -1;
    int boundOutput_ = 1;
};

} // namespace vexel
