#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/posix/write_all.h"
#include "os/system_platform.h"

namespace vexel {

namespace {

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

struct SystemLog::State {
    bool redirected = false;
    int descriptor = -1;
    int savedOutput = -1;
    int savedError = -1;
};

SystemLog::SystemLog() : state_(std::make_unique<State>()) {}

SystemLog::~SystemLog() = default;

std::optional<SystemError> SystemLog::Create(const std::string& name) {
    // The caller's standard output and error are kept first: a log that
    // could not give them back is never installed.
    int log = -1;
    if (SaveDescriptor(2, state_->savedError) && SaveDescriptor(1, state_->savedOutput))
        log = OpenLog(name);
    if (log >= 0 && ClaimLog(log)) {
        state_->descriptor = log;
        return std::nullopt;
    }
    const SystemError error{errno};
    Release(log);
    Release(state_->savedError);
    Release(state_->savedOutput);
    return error;
}

void SystemLog::Redirect() {
    ::dup2(state_->descriptor, 2);
    ::dup2(state_->descriptor, 1);
    state_->redirected = true;
}

std::optional<SystemError> SystemLog::Write(std::string_view bytes) {
    return WriteAll(state_->descriptor, bytes);
}

void SystemLog::Restore() {
    if (!state_->redirected) return;
    ::close(state_->descriptor);
    state_->descriptor = -1;
    RestoreDescriptor(state_->savedError, 2);
    RestoreDescriptor(state_->savedOutput, 1);
    state_->savedError = state_->savedOutput = -1;
    state_->redirected = false;
}

} // namespace vexel
