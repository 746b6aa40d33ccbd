#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/posix/posix_platform.h"

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

// A copy of the descriptor above the standard three, or -1 when it is closed.
int SaveDescriptor(int descriptor) {
    return ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
}

void RestoreDescriptor(int saved, int descriptor) {
    if (saved >= 0) {
        ::dup2(saved, descriptor);
        ::close(saved);
    } else {
        ::close(descriptor);
    }
}

} // namespace

bool PosixStreams::CreateLog(const std::string& name) {
    int log = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0666);
    if (log < 0) return false;
    if (log < 3) {
        // The caller closed a standard descriptor; keep the log clear of them.
        const int moved = ::fcntl(log, F_DUPFD, 3);
        ::close(log);
        if (moved < 0) return false;
        log = moved;
    }
    logDescriptor_ = log;
    return true;
}

void PosixStreams::RedirectToLog() {
    // Without a log there is nothing to point the descriptors at; they stay
    // as the caller gave them.
    if (logDescriptor_ < 0) return;
    savedError_ = SaveDescriptor(2);
    savedOutput_ = SaveDescriptor(1);
    ::dup2(logDescriptor_, 2);
    ::dup2(logDescriptor_, 1);
    logRedirected_ = true;
}

int PosixStreams::WriteLog(const char* data, std::size_t size) {
    return logDescriptor_ >= 0 ? WriteAll(logDescriptor_, data, size) : 0;
}

void PosixStreams::RestoreFromLog() {
    if (!logRedirected_) return;
    ::close(logDescriptor_);
    logDescriptor_ = -1;
    RestoreDescriptor(savedError_, 2);
    RestoreDescriptor(savedOutput_, 1);
    savedError_ = savedOutput_ = -1;
    logRedirected_ = false;
}

int PosixStreams::BindStandardOutput(bool& consoleDevice) {
    struct stat status {};
    if (::fstat(1, &status) != 0) return errno;
    boundOutput_ = 1;
    consoleDevice = S_ISCHR(status.st_mode);
    return 0;
}

int PosixStreams::WriteStandardOutput(const char* data, std::size_t size) {
    return WriteAll(boundOutput_, data, size);
}

void PosixStreams::WriteCurrentStandardOutput(std::string_view text) {
    WriteAll(1, text.data(), text.size());
}

void PosixStreams::WriteCurrentStandardError(std::string_view text) {
    WriteAll(2, text.data(), text.size());
}

std::string PosixStreams::DescribeError(int code) {
    return std::strerror(code);
}

} // namespace vexel
