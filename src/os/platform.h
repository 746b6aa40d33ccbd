// The operating-system layer. Everything the tool needs from the system goes
// through these small interfaces, each consumer taking the ones it uses, so
// that the core stays portable and tests can hand it fakes. One
// implementation of each per platform lives beside this file.
//
// Every call answers in one of four shapes, the same on both platforms:
// - a call that gives a value and can fail returns std::optional of it,
//   nothing when it failed (the run says what failed in its own words);
// - a call that only acts and can fail returns std::optional<SystemError>,
//   nothing when it succeeded, else the system's error code, which
//   StandardStreams::DescribeError turns into the system's text;
// - an answer that is no failure but has cases is a type that names them
//   (AgeStamp, EnvironmentValue, ChildStatus), never a marker value, or
//   optional for "there is none" (RegularFile, Interruption);
// - a question answers bool, and a call that cannot fail, or whose failure
//   changes nothing for the run, answers nothing.
// No call raises an exception, except std::bad_alloc for lack of memory.
// What a failure means for the run is decided above this layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "os/age_stamp.h"

namespace vexel {

// The system's own code for what went wrong: errno on POSIX, GetLastError
// on Windows.
struct SystemError {
    int code = 0;
};

// Who a file is, however its name reaches it: POSIX's device and inode
// number, Windows' volume serial number and file index.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;

    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// A regular file as it was found: when it was last written, and who it is.
struct RegularFile {
    AgeStamp stamp;
    FileIdentity identity;
};

// The files the tool reads or examines.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The whole named file, which must be a file on disk: anything else (a
    // directory, a pipe, a device) is refused without waiting and without
    // reading. Nothing on any failure.
    virtual std::optional<std::string> ReadWholeFile(const std::string& name) = 0;

    // Whether both names name one existing file, as the system identifies
    // it, however the names are spelt (hard links included).
    virtual bool SameFile(const std::string& first, const std::string& second) = 0;

    // The file's last-write time, in UTC at the file system's resolution;
    // no time when the name is missing or is a directory. A pattern (see
    // IsPattern) takes the time of its first match. Safe to call from
    // several threads at once.
    virtual AgeStamp FileAgeStamp(const std::string& name) = 0;

    // The regular file that name stands for now, links followed; nothing
    // when the name is missing or is no regular file (a directory, a device,
    // a pipe).
    virtual std::optional<RegularFile> FindRegularFile(const std::string& name) = 0;

    // Sets only the last-write time of the regular file that name stands for,
    // when it is not that time already, and only when it is the file was
    // identifies (links followed, as when it was found) or, without was, a
    // regular file reached by no link. The file is checked once it is open
    // and its time set through that same opening, so that nothing can take
    // its place in between. Any other file, and one whose time the system
    // does not let it set, is left as it was.
    virtual void SetFileAgeStamp(const std::string& name, const std::optional<FileIdentity>& was,
                                 const AgeStamp& stamp) = 0;
};

// What a child is doing: still running, or ended with its 32-bit exit code.
class ChildStatus {
public:
    static constexpr ChildStatus Running() { return ChildStatus(); }
    static constexpr ChildStatus EndedWith(int32_t exitCode) {
        ChildStatus status;
        status.ended_ = true;
        status.exitCode_ = exitCode;
        return status;
    }

    constexpr bool HasEnded() const { return ended_; }
    constexpr int32_t ExitCode() const { return exitCode_; } // once it has ended

private:
    bool ended_ = false;
    int32_t exitCode_ = 0;
};

// One started child process. Destroying it releases what the system keeps
// for it (handles); it does not stop the child.
class ChildProcess {
public:
    virtual ~ChildProcess() = default;

    // Asks once whether the child has ended; nothing when the system cannot
    // tell.
    virtual std::optional<ChildStatus> Query() = 0;
};

// An interruption of the tool: POSIX's interrupt, termination or hang-up
// signal, or Windows' Ctrl+C, Ctrl+Break or the closing of the console.
struct Interruption {
    int signal = 0; // POSIX: the signal; Windows: the console's event
};

// While it lives, an interruption does not end the tool: it is caught, and
// the child that runs gets it too (POSIX passes it on; on Windows the
// console gives it to every process). Its end gives the caller's handling
// back; it never ends the tool itself.
class InterruptionHold {
public:
    virtual ~InterruptionHold() = default;

    // The interruption caught since the hold began, if any.
    virtual std::optional<Interruption> Caught() = 0;
};

// Starting commands as child processes.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Called once, before the first command of a run.
    virtual void PrepareChildStart() = 0;

    // Starts a command: the program and its arguments in one text, as a
    // makefile's command line holds them, leading blanks removed. It starts
    // in the current directory, which the tool never changes. Nothing when
    // the program cannot be started; never a null child.
    virtual std::optional<std::unique_ptr<ChildProcess>> StartChild(const std::string& command) = 0;

    virtual void Pause(unsigned milliseconds) = 0;

    // Holds interruptions back from ending the tool while the hold lives.
    virtual std::unique_ptr<InterruptionHold> HoldInterruptions() = 0;

    // Ends the tool as the interruption would have ended it: by the same
    // signal (POSIX), or with exit code STATUS_CONTROL_C_EXIT (Windows).
    // The one way the tool ends other than by returning from its entry.
    [[noreturn]] virtual void EndInterrupted(const Interruption& interruption) = 0;
};

// The log file, which standard output and standard error point at while a
// run that names one goes on.
class LogFile {
public:
    virtual ~LogFile() = default;

    // Creates the log afresh (an existing one is emptied). Fails when it
    // cannot be created, or cannot be the run's own: another run holds it,
    // or the standard output and error it is to replace could not be kept
    // to be given back.
    virtual std::optional<SystemError> Create(const std::string& name) = 0;

    // Once created: keeps the current standard error and standard output,
    // then points both at the log.
    virtual void Redirect() = 0;

    // Writes all bytes to the created log.
    virtual std::optional<SystemError> Write(std::string_view bytes) = 0;

    // After Redirect: closes the log and restores standard error, then
    // standard output.
    virtual void Restore() = 0;
};

// Standard output and standard error.
class StandardStreams {
public:
    virtual ~StandardStreams() = default;

    // Binds the message lines to the current standard output.
    virtual std::optional<SystemError> BindOutput() = 0;

    // Whether the bound output is a character device (a console), which is
    // written out after every append.
    virtual bool BoundToConsole() = 0;

    // Writes all bytes to the bound standard output.
    virtual std::optional<SystemError> WriteOutput(std::string_view bytes) = 0;

    // Write to the standard output or error in force now, ignoring any
    // failure.
    virtual void WriteCurrentOutput(std::string_view text) = 0;
    virtual void WriteCurrentError(std::string_view text) = 0;

    // The system's text for an error code of this layer.
    virtual std::string DescribeError(SystemError error) = 0;
};

// An environment variable's value, as far as the tool takes it.
struct EnvironmentValue {
    enum class Status { Found, Missing, TooLong };
    Status status = Status::Missing;
    std::string value; // only with Found
};

// What the system tells about this process.
class ProcessFacts {
public:
    virtual ~ProcessFacts() = default;

    // The variable's value when it is set to at most maxLength bytes; an
    // empty value counts as missing.
    virtual EnvironmentValue Environment(const std::string& name, std::size_t maxLength) = 0;

    // The tool's arguments after its own name; none of them is empty.
    virtual std::vector<std::string> Arguments() = 0;

    // The program's own file, for failure reports; nothing when the system
    // cannot tell.
    virtual std::optional<std::string> ModuleFileName() = 0;
};

// How the system's code page shapes names.
class NameRules {
public:
    virtual ~NameRules() = default;

    virtual LeadByteSet LeadBytes() = 0;

    // Sets key to a text that is equal for two names exactly when the
    // system's name comparison calls them equal without regard to letter
    // case. Where it can, the key is the name itself.
    virtual void MatchKey(std::string_view name, std::string& key) = 0;
};

// The whole layer as a run uses it.
struct Platform {
    FileSystem& files;
    ProcessRunner& processes;
    LogFile& log;
    StandardStreams& standard;
    ProcessFacts& facts;
    NameRules& names;
};

} // namespace vexel
