// The operating-system layer. Everything the tool needs from the system goes
// through these small interfaces, each consumer taking the ones it uses, so
// that the core stays portable and tests can hand it fakes. One
// implementation of each per platform lives beside this file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "os/age_stamp.h"

namespace vexel {

// The files the tool reads or examines.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Reads the whole named file, which must be a file on disk: anything
    // else (a directory, a pipe, a device) is refused without waiting and
    // without reading. False on any failure. Lack of memory raises
    // std::bad_alloc.
    virtual bool ReadWholeFile(const std::string& name, std::string& contents) = 0;

    // Whether both names name one existing file, as the system identifies
    // it, however the names are spelt (hard links included).
    virtual bool SameFile(const std::string& first, const std::string& second) = 0;

    // The file's last-write time, in UTC at the file system's resolution;
    // no time when the name is missing or is a directory. A name holding
    // "*" or "?" is a pattern, and its first match counts. Safe to call from
    // several threads at once.
    virtual AgeStamp FileAgeStamp(const std::string& name) = 0;

    // Sets only the last-write time of a file on disk; false, nothing changed, if it cannot.
    virtual bool SetFileAgeStamp(const std::string& name, const AgeStamp& stamp) = 0;
};

// One started child process. Destroying it releases what the system keeps
// for it (handles); it does not stop the child.
class ChildProcess {
public:
    enum class State { Running, Ended, QueryFailed, Interrupted };

    virtual ~ChildProcess() = default;

    // Asks once whether the child has ended. On Ended, exitCode holds its
    // 32-bit exit code. Interrupted: the tool was interrupted while the child
    // ran (POSIX: an interrupt, termination or hang-up signal, passed on to
    // the child; Windows: Ctrl+C, Ctrl+Break or the console's closing), the
    // child has ended, and the tool must now end by EndInterrupted.
    virtual State Query(int32_t& exitCode) = 0;
};

// Starting commands as child processes.
class ProcessRunner {
public:
    virtual ~ProcessRunner() = default;

    // Called once, before the first command of a run.
    virtual void PrepareChildStart() = 0;

    // Starts a command: the program and its arguments in one text, as a
    // makefile's command line holds them, leading blanks removed. It starts
    // in directory, the start directory (which is the current one, so that
    // a child may simply inherit it). Null when the program cannot be
    // started.
    virtual std::unique_ptr<ChildProcess> StartChild(const std::string& command,
                                                     const std::string& directory) = 0;

    virtual void Pause(unsigned milliseconds) = 0;

    // Ends the tool after a query said Interrupted, as the interruption would
    // have ended it: by the same signal (POSIX), or with exit code
    // STATUS_CONTROL_C_EXIT (Windows).
    [[noreturn]] virtual void EndInterrupted() = 0;
};

// Standard output, standard error and the log file.
class OutputStreams {
public:
    virtual ~OutputStreams() = default;

    // Creates the log file afresh (an existing one is emptied). False when it
    // cannot be created, or cannot be the run's own: another run holds it,
    // or the standard output and error it is to replace could not be kept
    // to be given back. The run then goes on without a log.
    virtual bool CreateLog(const std::string& name) = 0;

    // Keeps the current standard error and standard output, then points both
    // at the log.
    virtual void RedirectToLog() = 0;

    // Writes all bytes to the log; 0 or the error code. Without a log (it
    // could not be created) the bytes are dropped and the result is 0.
    virtual int WriteLog(const char* data, std::size_t size) = 0;

    // Closes the log and restores standard error, then standard output.
    virtual void RestoreFromLog() = 0;

    // Binds the message writer to the current standard output. Returns 0 or
    // the system's error code; consoleDevice tells whether it is a
    // character device, which is written out after every append.
    virtual int BindStandardOutput(bool& consoleDevice) = 0;

    // Writes all bytes to the bound standard output; 0 or the error code.
    virtual int WriteStandardOutput(const char* data, std::size_t size) = 0;

    // Writes to the standard output in force now, ignoring any failure.
    virtual void WriteCurrentStandardOutput(std::string_view text) = 0;

    // Writes to the standard error in force now, ignoring any failure.
    virtual void WriteCurrentStandardError(std::string_view text) = 0;

    // The system's text for an error code of the calls above.
    virtual std::string DescribeError(int code) = 0;
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

    // The current directory, whole; empty when it cannot be read.
    virtual std::string CurrentDirectory() = 0;

    // The program's own file, for failure reports.
    virtual std::string ModuleFileName() = 0;
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
    OutputStreams& streams;
    ProcessFacts& facts;
    NameRules& names;
};

} // namespace vexel
