// An in-memory operating-system layer for unit tests: age stamps from a map,
// a scripted child process, and what the core writes kept to be examined.
// Calls whose order matters are logged in events, one word each.
#pragma once

#include <cstring>
#include <map>
#include <new>

#include "os/platform.h"

namespace vexel {

class FakePlatform : public Platform {
public:
    std::string makefile;                  // the contents of every file read
    std::map<std::string, int32_t> stamps; // names not here have no stamp
    std::vector<std::string> arguments;
    bool stampRunsOutOfMemory = false;
    // Every started child answers Running to its first runningPolls queries,
    // then has ended with exitCode, or the query fails.
    int runningPolls = 0;
    int32_t exitCode = 0;
    bool queryFails = false;

    std::string events, standardOutput;
    std::map<std::string, int> stampQueries;

    bool ReadWholeFile(const std::string&, std::string& contents) override {
        contents = makefile;
        return true;
    }
    int32_t FileAgeStamp(const std::string& name) override {
        if (stampRunsOutOfMemory) throw std::bad_alloc();
        ++stampQueries[name];
        return stamps.count(name) ? stamps[name] : -1;
    }
    void PrepareChildStart() override {}
    std::unique_ptr<ChildProcess> StartChild(const std::string& line,
                                             const std::string& directory) override {
        events += "start(" + line + " in " + directory + ") ";
        return std::make_unique<Child>(*this);
    }
    void Pause(unsigned ms) override { events += "pause:" + std::to_string(ms) + " "; }
    bool CreateLog(const std::string&) override { return true; }
    void RedirectToLog() override { events += "redirect "; }
    void WriteLog(const char*, std::size_t) override {}
    void RestoreFromLog() override { events += "restore "; }
    int BindStandardOutput(bool& console) override {
        console = false;
        return 0;
    }
    int WriteStandardOutput(const char* data, std::size_t size) override {
        events += "write ";
        standardOutput.append(data, size);
        return 0;
    }
    void WriteCurrentStandardOutput(std::string_view text) override {
        events += "report ";
        standardOutput.append(text);
    }
    void WriteCurrentStandardError(std::string_view) override {}
    std::string DescribeError(int) override { return {}; }
    uint32_t ReadEnvironment(const std::string&, char* buffer, uint32_t size) override {
        return size > 3 ? (std::strcpy(buffer, "cmd"), 3) : 4; // every variable holds "cmd"
    }
    bool CommandLineText(std::string&) override { return false; }
    std::vector<std::string> ArgumentVector() override { return arguments; }
    std::string CurrentDirectory() override { return "/start"; }
    LeadByteSet LeadBytes() override { return {}; }
    std::string MatchKey(std::string_view name) override { return std::string(name); }
    std::string ModuleFileName() override { return "C:\\vexel.exe"; }

private:
    struct Child : ChildProcess {
        explicit Child(FakePlatform& platform) : p(platform) {}
        State Query(int32_t& code) override {
            p.events += "query ";
            if (p.runningPolls-- > 0) return State::Running;
            if (p.queryFails) return State::QueryFailed;
            code = p.exitCode;
            return State::Ended;
        }
        FakePlatform& p;
    };
};

} // namespace vexel
