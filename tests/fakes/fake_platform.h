// An in-memory operating-system layer for the unit tests and the fuzz
// targets: a makefile and age stamps from memory, scripted child processes,
// and what the core writes kept to be examined. Calls whose order matters
// are logged in events, one word each.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "os/platform.h"

namespace vexel {

struct FakeFiles : FileSystem {
    std::string makefile;                                // the contents of every file read
    std::function<AgeStamp(const std::string&)> stampOf; // when unset, no file has a time
    std::map<std::string, int> stampQueries;
    bool stampRunsOutOfMemory = false;
    std::vector<std::pair<std::string, AgeStamp>> setStamps; // every time set, in order

    std::optional<std::string> ReadWholeFile(const std::string&) override { return makefile; }
    bool SameFile(const std::string& a, const std::string& b) override { return a == b; }
    AgeStamp FileAgeStamp(const std::string& name) override {
        if (stampRunsOutOfMemory) throw std::bad_alloc();
        const std::lock_guard<std::mutex> hold(lock); // asked from several threads
        ++stampQueries[name];
        return stampOf ? stampOf(name) : AgeStamp();
    }
    // A file with a time is a regular file, who it is told by its name.
    std::optional<RegularFile> FindRegularFile(const std::string& name) override {
        const AgeStamp stamp = stampOf ? stampOf(name) : AgeStamp();
        if (!stamp.HasTime()) return std::nullopt;
        return RegularFile{stamp, {0, std::hash<std::string>{}(name)}};
    }
    void SetFileAgeStamp(const std::string& name, const std::optional<FileIdentity>& was,
                         const AgeStamp& stamp) override {
        const std::optional<RegularFile> now = FindRegularFile(name);
        if (now && (!was || now->identity == *was) && now->stamp != stamp)
            setStamps.emplace_back(name, stamp);
    }
    std::mutex lock;
};

// Every started child answers Running to its first runningPolls queries,
// then has ended with exitCode (or the code exitCodeOf gives its command),
// or the query fails. An interruption (signal 15) is caught at pause number
// interruptAt (1: the first; -1: never), while a hold lives; ending by it
// throws Ended.
struct FakeProcesses : ProcessRunner {
    struct Ended {};
    int interruptAt = -1;
    int runningPolls = 0;
    int32_t exitCode = 0;
    std::function<int32_t(const std::string&)> exitCodeOf;
    bool queryFails = false;
    std::function<void()> onEnd; // called as the tool ends interrupted
    std::string events;
    std::vector<std::string> started; // the commands, in order

    struct Child : ChildProcess {
        Child(FakeProcesses& owner, int32_t exitCode) : p(owner), code(exitCode) {}
        std::optional<ChildStatus> Query() override {
            p.events += "query ";
            if (p.runningPolls-- > 0) return ChildStatus::Running();
            if (p.queryFails) return std::nullopt;
            return ChildStatus::EndedWith(code);
        }
        FakeProcesses& p;
        int32_t code;
    };
    struct Hold : InterruptionHold {
        explicit Hold(FakeProcesses& owner) : p(owner) { p.events += "hold "; }
        ~Hold() override { p.events += "release "; }
        std::optional<Interruption> Caught() override {
            if (p.interruptAt != 0) return std::nullopt;
            return Interruption{15};
        }
        FakeProcesses& p;
    };

    void PrepareChildStart() override { events += "prepare "; }
    std::optional<std::unique_ptr<ChildProcess>> StartChild(const std::string& command) override {
        events += "start(" + command + ") ";
        started.push_back(command);
        return std::make_unique<Child>(*this, exitCodeOf ? exitCodeOf(command) : exitCode);
    }
    void Pause(unsigned ms) override {
        events += "pause:" + std::to_string(ms) + " ";
        if (interruptAt > 0) --interruptAt;
    }
    std::unique_ptr<InterruptionHold> HoldInterruptions() override {
        return std::make_unique<Hold>(*this);
    }
    [[noreturn]] void EndInterrupted(const Interruption& interruption) override {
        events += "end(" + std::to_string(interruption.signal) + ") ";
        if (onEnd) onEnd();
        throw Ended();
    }
};

// The log and the standard streams in one, so that the order of their calls
// shows in one list of events. A write fails with writeFails when it is set.
struct FakeStreams : LogFile, StandardStreams {
    std::string events, standardOutput;
    std::optional<SystemError> writeFails;

    std::optional<SystemError> Create(const std::string&) override { return std::nullopt; }
    void Redirect() override { events += "redirect "; }
    std::optional<SystemError> Write(std::string_view) override { return writeFails; }
    void Restore() override { events += "restore "; }
    std::optional<SystemError> BindOutput() override { return std::nullopt; }
    bool BoundToConsole() override { return false; }
    std::optional<SystemError> WriteOutput(std::string_view bytes) override {
        events += "write(" + std::to_string(bytes.size()) + ") ";
        if (!writeFails) standardOutput.append(bytes);
        return writeFails;
    }
    void WriteCurrentOutput(std::string_view text) override {
        events += "report ";
        standardOutput.append(text);
    }
    void WriteCurrentError(std::string_view) override {}
    std::string DescribeError(SystemError error) override {
        return "error " + std::to_string(error.code);
    }
};

struct FakeFacts : ProcessFacts {
    std::vector<std::string> arguments;
    EnvironmentValue Environment(const std::string&, std::size_t) override {
        return {EnvironmentValue::Status::Found, "cmd"};
    }
    std::vector<std::string> Arguments() override { return arguments; }
    std::optional<std::string> ModuleFileName() override { return "C:\\vexel.exe"; }
};

// ASCII letters match without regard to case.
struct FakeNames : NameRules {
    LeadByteSet leadBytes{};

    LeadByteSet LeadBytes() override { return leadBytes; }
    void MatchKey(std::string_view name, std::string& key) override { FoldAsciiCase(name, key); }
};

struct FakePlatform {
    FakeFiles files;
    FakeProcesses processes;
    FakeStreams streams;
    FakeFacts facts;
    FakeNames names;

    Platform Get() { return {files, processes, streams, streams, facts, names}; }
};

} // namespace vexel
