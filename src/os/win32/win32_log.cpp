#include "os/win32/win32_platform.h"

namespace vexel {

struct SystemLog::State {
    // The log and the standard handles it replaces.
    bool redirected = false;
    HANDLE handle = INVALID_HANDLE_VALUE;
    HANDLE savedStdError = nullptr;
    HANDLE savedStdOutput = nullptr;
};

SystemLog::SystemLog() : state_(std::make_unique<State>()) {}

SystemLog::~SystemLog() = default;

std::optional<SystemError> SystemLog::Create(const std::string& name) {
    // Inheritable, so that children started later can write into it through
    // the standard handles that point at it.
    SECURITY_ATTRIBUTES attributes{};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;
    state_->handle = ::CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &attributes,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (state_->handle == INVALID_HANDLE_VALUE) return LastError(ERROR_OPEN_FAILED);
    return std::nullopt;
}

void SystemLog::Redirect() {
    state_->savedStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    state_->savedStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    ::SetStdHandle(STD_ERROR_HANDLE, state_->handle);
    ::SetStdHandle(STD_OUTPUT_HANDLE, state_->handle);
    state_->redirected = true;
}

std::optional<SystemError> SystemLog::Write(std::string_view bytes) {
    return WriteAll(state_->handle, bytes);
}

void SystemLog::Restore() {
    if (!state_->redirected) return;
    ::CloseHandle(state_->handle);
    state_->handle = INVALID_HANDLE_VALUE;
    ::SetStdHandle(STD_ERROR_HANDLE, state_->savedStdError);
    ::SetStdHandle(STD_OUTPUT_HANDLE, state_->savedStdOutput);
    state_->redirected = false;
}

} // namespace vexel
