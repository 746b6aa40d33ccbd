#include <string>

#include "os/win32/win32_platform.h"

namespace vexel {

namespace {

// The code of the last failure, never 0: the caller takes 0 for success.
int LastErrorCode(DWORD fallback) {
    const DWORD error = ::GetLastError();
    return static_cast<int>(error != NO_ERROR ? error : fallback);
}

// Writes everything, going on after partial writes; 0 or the error code.
int WriteAll(HANDLE handle, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(handle, data, chunk, &written, nullptr)) {
            return LastErrorCode(ERROR_WRITE_FAULT);
        }
        if (written == 0) return ERROR_WRITE_FAULT; // no progress: give up, don't spin
        data += written;
        size -= written;
    }
    return 0;
}

bool Usable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// The code for a handle that is not open for output.
constexpr int NotOpenForOutput = 105;

} // namespace

struct SystemStreams::State {
    // The log and the standard handles it replaces.
    bool logRedirected = false;
    HANDLE logHandle = INVALID_HANDLE_VALUE;
    HANDLE savedStdError = nullptr;
    HANDLE savedStdOutput = nullptr;

    // The standard output that message lines are bound to.
    HANDLE boundOutput = INVALID_HANDLE_VALUE;
};

SystemStreams::SystemStreams() : state_(std::make_unique<State>()) {}

SystemStreams::~SystemStreams() = default;

bool SystemStreams::CreateLog(const std::string& name) {
    // Inheritable, so that children started later can write into it through
    // the standard handles that point at it.
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;
    state_->logHandle = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &attributes,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return state_->logHandle != INVALID_HANDLE_VALUE;
}

void SystemStreams::RedirectToLog() {
    // Without a log there is nothing to install; the handles stay as the
    // caller gave them.
    if (state_->logHandle == INVALID_HANDLE_VALUE) return;
    state_->savedStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    state_->savedStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ::SetStdHandle(STD_ERROR_HANDLE, state_->logHandle);
    ::SetStdHandle(STD_OUTPUT_HANDLE, state_->logHandle);
    state_->logRedirected = true;
}

int SystemStreams::WriteLog(const char* data, std::size_t size) {
    // Without a log the line is lost, as the caller was told.
    return state_->logHandle != INVALID_HANDLE_VALUE ? WriteAll(state_->logHandle, data, size) : 0;
}

void SystemStreams::RestoreFromLog() {
    if (!state_->logRedirected) return;
    if (state_->logHandle != INVALID_HANDLE_VALUE) ::CloseHandle(state_->logHandle);
    state_->logHandle = INVALID_HANDLE_VALUE;
    ::SetStdHandle(STD_ERROR_HANDLE, state_->savedStdError);
    ::SetStdHandle(STD_OUTPUT_HANDLE, state_->savedStdOutput);
    state_->logRedirected = false;
}

int SystemStreams::BindStandardOutput(bool& consoleDevice) {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == INVALID_HANDLE_VALUE) return LastErrorCode(ERROR_INVALID_HANDLE);
    const DWORD type = ::GetFileType(output);
    if (type == FILE_TYPE_UNKNOWN) return NotOpenForOutput;
    state_->boundOutput = output;
    consoleDevice = type == FILE_TYPE_CHAR;
    return 0;
}

int SystemStreams::WriteStandardOutput(const char* data, std::size_t size) {
    return WriteAll(state_->boundOutput, data, size);
}

void SystemStreams::WriteCurrentStandardOutput(std::string_view text) {
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (Usable(output)) WriteAll(output, text.data(), text.size());
}

void SystemStreams::WriteCurrentStandardError(std::string_view text) {
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    if (Usable(error)) WriteAll(error, text.data(), text.size());
}

std::string SystemStreams::DescribeError(int code) {
    char text[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(code), 0, text, sizeof text, nullptr);
    std::string description(text, length);
    while (!description.empty() &&
           (description.back() == '\r' || description.back() == '\n' || description.back() == ' '))
        description.pop_back();
    if (description.empty()) description = "system error " + std::to_string(code);
    return description;
}

} // namespace vexel
