#include <string>

#include "os/win32/win32_platform.h"

namespace vexel {

SystemError LastError(DWORD fallback) {
    const DWORD error = ::GetLastError();
    return {static_cast<int>(error != NO_ERROR ? error : fallback)};
}

std::optional<SystemError> WriteAll(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > MAXDWORD ? MAXDWORD : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data(), chunk, &written, nullptr))
            return LastError(ERROR_WRITE_FAULT);
        // No progress: give up, don't spin.
        if (written == 0) return SystemError{ERROR_WRITE_FAULT};
        bytes.remove_prefix(written);
    }
    return std::nullopt;
}

namespace {

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The code for a handle that is not open for output.
constexpr int NotOpenForOutput = 105;

} // namespace

struct SystemStandardStreams::State {
    // The standard output that message lines are bound to.
    HANDLE boundOutput = INVALID_HANDLE_VALUE;
    bool console = false;
};

SystemStandardStreams::SystemStandardStreams() : state_(std::make_unique<State>()) {}

SystemStandardStreams::~SystemStandardStreams() = default;

std::optional<SystemError> SystemStandardStreams::BindOutput() {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == INVALID_HANDLE_VALUE) return LastError(ERROR_INVALID_HANDLE);
    const DWORD type = ::GetFileType(output);
    if (type == FILE_TYPE_UNKNOWN) return SystemError{NotOpenForOutput};
    state_->boundOutput = output;
    state_->console = type == FILE_TYPE_CHAR;
    return std::nullopt;
}

bool SystemStandardStreams::BoundToConsole() {
    return state_->console;
}

std::optional<SystemError> SystemStandardStreams::WriteOutput(std::string_view bytes) {
    return WriteAll(state_->boundOutput, bytes);
}

void SystemStandardStreams::WriteCurrentOutput(std::string_view text) {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (Usable(output)) WriteAll(output, text);
}

void SystemStandardStreams::WriteCurrentError(std::string_view text) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (Usable(error)) WriteAll(error, text);
}

std::string SystemStandardStreams::DescribeError(SystemError error) {
    char text[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(error.code), 0, text, sizeof text, nullptr);
    std::string description(text, length);
    while (!description.empty() &&
           (description.back() == '\r' || description.back() == '\n' || description.back() == ' '))
        description.pop_back();
    if (description.empty()) description = "system error " + std::to_string(error.code);
    return description;
}

} // namespace vexel
