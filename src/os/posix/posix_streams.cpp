#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/system_platform.h"

namespace vexel {

namespace {

// Writes everything, going on after short writes; 0 or the error code.
int WriteAll(int descriptor, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return EIO;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Keeps a copy of the descriptor above the standard three in saved: -1 when
// the descriptor is closed. False when no copy can be made (no descriptor
// left), so that the descriptor could not be restored.
bool SaveDescriptor(int descriptor, int& saved) {
    saved = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    return saved >= 0 || errno == EBADF;
}

void RestoreDescriptor(int saved, int descriptor) {
    if (saved >= 0) {
        ::dup2(saved, descriptor);
        ::close(saved);
    } else {
        ::close(descriptor);
    }
}

void Release(int& descriptor) {
    if (descriptor >= 0) ::close(descriptor);
    descriptor = -1;
}

// Opens the log for appending, so that every write lands at its end, whoever
// else writes to the file. The open never waits: a FIFO or socket that
// nobody reads fails at once. -1 on failure.
int OpenLog(const std::string& name) {
    int log = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_NOCTTY, 0666);
    if (log >= 0 && log < 3) {
        // The caller closed a standard descriptor; keep the log clear of them.
        const int moved = ::fcntl(log, F_DUPFD, 3);
        ::close(log);
        log = moved;
    }
    return log;
}

// Makes the opened log the run's own: writes wait again (a reader of a FIFO
// may be slow), and a file on disk is locked against other runs and only
// then emptied. Anything else (a FIFO, a device) is written as it is.
bool ClaimLog(int log) {
    const int flags = ::fcntl(log, F_GETFL);
    struct stat status {};
    if (flags < 0 || ::fcntl(log, F_SETFL, flags & ~O_NONBLOCK) != 0 || ::fstat(log, &status) != 0)
        return false;
    if (!S_ISREG(status.st_mode)) return true;
    // Another run holds it. (A file system that cannot lock at all does not
    // keep logs from being made.)
    if (::flock(log, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
    return ::ftruncate(log, 0) == 0;
}

} // namespace

struct SystemStreams::State {
    bool logRedirected = false;
    int logDescriptor = -1;
    int savedOutput = -1;
    int savedError = -1;
    int boundOutput = 1;
};

SystemStreams::SystemStreams() : state_(std::make_unique<State>()) {}

SystemStreams::~SystemStreams() = default;

bool SystemStreams::CreateLog(const std::string& name) {
    // The caller's standard output and error are kept first: a log that
    // could not give them back is never installed.
    int log = -1;
    if (SaveDescriptor(2, state_->savedError) && SaveDescriptor(1, state_->savedOutput))
        log = OpenLog(name);
    if (log >= 0 && ClaimLog(log)) {
        state_->logDescriptor = log;
        return true;
    }
    Release(log);
    Release(state_->savedError);
    Release(state_->savedOutput);
    return false;
}

void SystemStreams::RedirectToLog() {
    // Without a log there is nothing to point the descriptors at; they stay
    // as the caller gave them.
    if (state_->logDescriptor < 0) return;
    ::dup2(state_->logDescriptor, 2);
    ::dup2(state_->logDescriptor, 1);
    state_->logRedirected = true;
}

int SystemStreams::WriteLog(const char* data, std::size_t size) {
    return state_->logDescriptor >= 0 ? WriteAll(state_->logDescriptor, data, size) : 0;
}

void SystemStreams::RestoreFromLog() {
    if (!state_->logRedirected) return;
    ::close(state_->logDescriptor);
    state_->logDescriptor = -1;
    RestoreDescriptor(state_->savedError, 2);
    RestoreDescriptor(state_->savedOutput, 1);
    state_->savedError = state_->savedOutput = -1;
    state_->logRedirected = false;
}

int SystemStreams::BindStandardOutput(bool& consoleDevice) {
    struct stat status {};
    if (::fstat(1, &status) != 0) return errno;
    state_->boundOutput = 1;
    consoleDevice = S_ISCHR(status.st_mode);
    return 0;
}

int SystemStreams::WriteStandardOutput(const char* data, std::size_t size) {
    return WriteAll(state_->boundOutput, data, size);
}

void SystemStreams::WriteCurrentStandardOutput(std::string_view text) {
    WriteAll(1, text.data(), text.size());
}

void SystemStreams::WriteCurrentStandardError(std::string_view text) {
    WriteAll(2, text.data(), text.size());
}

std::string SystemStreams::DescribeError(int code) {
    return std::strerror(code);
}

} // namespace vexel
