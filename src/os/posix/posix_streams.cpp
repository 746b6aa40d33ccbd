#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "os/posix/write_all.h"
#include "os/system_platform.h"

namespace vexel {

std::optional<SystemError> WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return SystemError{errno};
        }
        if (written == 0) return SystemError{EIO};
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return std::nullopt;
}

struct SystemStandardStreams::State {
    bool console = false;
};

SystemStandardStreams::SystemStandardStreams() : state_(std::make_unique<State>()) {}

SystemStandardStreams::~SystemStandardStreams() = default;

std::optional<SystemError> SystemStandardStreams::BindOutput() {
    // Bound by its number: descriptor 1 is pointed elsewhere only while a log
    // takes the message lines, so it stays the output bound to, without a
    // copy to keep (Windows keeps the handle, which SetStdHandle replaces).
    struct stat status {};
    if (::fstat(1, &status) != 0) return SystemError{errno};
    state_->console = S_ISCHR(status.st_mode);
    return std::nullopt;
}

bool SystemStandardStreams::BoundToConsole() {
    return state_->console;
}

std::optional<SystemError> SystemStandardStreams::WriteOutput(std::string_view bytes) {
    return WriteAll(1, bytes);
}

void SystemStandardStreams::WriteCurrentOutput(std::string_view text) {
    WriteAll(1, text);
}

void SystemStandardStreams::WriteCurrentError(std::string_view text) {
    WriteAll(2, text);
}

std::string SystemStandardStreams::DescribeError(SystemError error) {
    return std::strerror(error.code);
}

} // namespace vexel
