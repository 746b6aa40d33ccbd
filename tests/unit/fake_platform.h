// An in-memory operating-system layer for unit tests: files and age stamps
// from maps, scripted child processes, and every byte the core writes kept
// for inspection. Calls whose order matters are kept in events.
#pragma once

#include <algorithm>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "os/platform.h"

namespace vexel {

// One started child: its first runningPolls queries answer Running, then
// it has ended with exitCode, or the query fails.
struct ChildScript {
    bool startFails = false;
    int runningPolls = 0;
    int32_t exitCode = 0;
    bool queryFails = false;
};

class FakePlatform : public Platform {
public:
    // The fake system.
    std::map<std::string, std::string> files;
    std::map<std::string, int32_t> stamps; // names not here have no stamp
    std::map<std::string, std::string> environment{{"COMSPEC", "C:\\Windows\\cmd.exe"}};
    std::optional<std::string> commandLine; // set: arguments come as one text
    std::vector<std::string> arguments;
    LeadByteSet leadBytes{};
    std::deque<ChildScript> children; // one per start; when none is left, exit code 0
    bool logCreationFails = false, consoleDevice = false, stampRunsOutOfMemory = false;
    int bindError = 0;
    int failingWrite = 0; // 1-based standard-output write that fails with writeError
    int writeError = 0;

    // What the core did.
    std::vector<std::string> events;
    std::vector<std::pair<std::string, std::string>> started; // command line, directory
    std::map<std::string, int> stampQueries;
    std::vector<std::size_t> outputWrites, logWrites;
    std::string standardOutput, standardError, log;

    int Count(const std::string& event) const {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }
    std::string Trace() const {
        std::string trace;
        for (const std::string& event : events)
            trace += (trace.empty() ? "" : " ") + event;
        return trace;
    }

    bool ReadWholeFile(const std::string& name, std::string& contents) override {
        events.push_back("read:" + name);
        const auto found = files.find(name);
        if (found != files.end()) contents = found->second;
        return found != files.end();
    }
    int32_t FileAgeStamp(const std::string& name) override {
        if (stampRunsOutOfMemory) throw std::bad_alloc();
        ++stampQueries[name];
        const auto found = stamps.find(name);
        return found == stamps.end() ? -1 : found->second;
    }

    void PrepareChildStart() override { events.push_back("prepare"); }
    std::unique_ptr<ChildProcess> StartChild(const std::string& line,
                                             const std::string& directory) override {
        events.push_back("start");
        started.emplace_back(line, directory);
        ChildScript script;
        if (!children.empty()) script = children.front();
        if (!children.empty()) children.pop_front();
        if (script.startFails) return nullptr;
        return std::make_unique<Child>(events, script);
    }
    void Pause(unsigned milliseconds) override {
        events.push_back("pause:" + std::to_string(milliseconds));
    }

    bool CreateLog(const std::string& name) override {
        events.push_back("log:" + name);
        return logOpen_ = !logCreationFails;
    }
    void RedirectToLog() override { redirected_ = logOpen_; }
    void WriteLog(const char* data, std::size_t size) override {
        logWrites.push_back(size);
        if (logOpen_) log.append(data, size);
    }
    void RestoreFromLog() override {
        events.push_back("restore");
        logOpen_ = redirected_ = false;
    }
    int BindStandardOutput(bool& console) override {
        events.push_back("bind");
        console = consoleDevice;
        return bindError;
    }
    int WriteStandardOutput(const char* data, std::size_t size) override {
        events.push_back("write");
        outputWrites.push_back(size);
        if (static_cast<int>(outputWrites.size()) == failingWrite) return writeError;
        standardOutput.append(data, size);
        return 0;
    }
    // Once redirected, the standard handles are the log.
    void WriteCurrentStandardOutput(std::string_view text) override {
        events.push_back("report");
        (redirected_ ? log : standardOutput).append(text);
    }
    void WriteCurrentStandardError(std::string_view text) override {
        (redirected_ ? log : standardError).append(text);
    }
    std::string DescribeError(int code) override { return "fake error " + std::to_string(code); }

    // As the Win32 call: the length, or the size needed with the NUL.
    uint32_t ReadEnvironment(const std::string& name, char* buffer, uint32_t size) override {
        const auto found = environment.find(name);
        if (found == environment.end() || found->second.empty()) return 0;
        const auto length = static_cast<uint32_t>(found->second.size());
        if (length + 1 > size) return length + 1;
        std::memcpy(buffer, found->second.c_str(), length + 1);
        return length;
    }
    bool CommandLineText(std::string& text) override {
        text = commandLine.value_or("");
        return commandLine.has_value();
    }
    std::vector<std::string> ArgumentVector() override { return arguments; }
    std::string CurrentDirectory() override { return "/start"; }
    LeadByteSet LeadBytes() override { return leadBytes; }
    std::string MatchKey(std::string_view name) override { return AsciiLower(name); }
    std::string ModuleFileName() override { return "C:\\tools\\vexel.exe"; }

    static std::string AsciiLower(std::string_view name) {
        std::string key(name);
        for (char& byte : key)
            if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
        return key;
    }

private:
    class Child : public ChildProcess {
    public:
        Child(std::vector<std::string>& events, ChildScript script)
            : events_(events), script_(script) {}
        State Query(int32_t& exitCode) override {
            events_.push_back("query");
            if (script_.runningPolls-- > 0) return State::Running;
            if (script_.queryFails) return State::QueryFailed;
            exitCode = script_.exitCode;
            return State::Ended;
        }

    private:
        std::vector<std::string>& events_;
        ChildScript script_;
    };

    bool logOpen_ = false, redirected_ = false;
};

} // namespace vexel
