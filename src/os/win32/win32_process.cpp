#include <climits>
#include <vector>

#include "os/win32/win32_platform.h"

namespace vexel {

namespace {

class Win32Child : public ChildProcess {
public:
    Win32Child() = default;
    Win32Child(const Win32Child&) = delete;
    Win32Child& operator=(const Win32Child&) = delete;

    // The handles are released once the runner is done waiting.
    ~Win32Child() override {
        if (info_.hThread != nullptr) ::CloseHandle(info_.hThread);
        if (info_.hProcess != nullptr) ::CloseHandle(info_.hProcess);
    }

    PROCESS_INFORMATION& Info() { return info_; }

    State Query(int32_t& exitCode) override {
        DWORD code = 0;
        if (!::GetExitCodeProcess(info_.hProcess, &code)) return State::QueryFailed;
        if (code == STILL_ACTIVE) {
            // 259 is also a code a child can end with: only the process
            // handle tells the two apart.
            const DWORD wait = ::WaitForSingleObject(info_.hProcess, 0);
            if (wait == WAIT_TIMEOUT) return State::Running;
            if (wait != WAIT_OBJECT_0) return State::QueryFailed;
            // It ended, perhaps just after the first query: ask again for
            // the code it really ended with.
            if (!::GetExitCodeProcess(info_.hProcess, &code)) return State::QueryFailed;
        }
        exitCode = static_cast<int32_t>(code);
        return State::Ended;
    }

private:
    PROCESS_INFORMATION info_{};
};

} // namespace

struct SystemProcesses::State {
    // Filled once before the first command and passed to every child.
    STARTUPINFOA startupInfo{};
};

SystemProcesses::SystemProcesses() : state_(std::make_unique<State>()) {}

SystemProcesses::~SystemProcesses() = default;

void SystemProcesses::PrepareChildStart() {
    ::GetStartupInfoA(&state_->startupInfo);
    state_->startupInfo.dwFlags |= STARTF_USESHOWWINDOW;
    state_->startupInfo.wShowWindow = SW_SHOWNORMAL;
}

std::unique_ptr<ChildProcess> SystemProcesses::StartChild(const std::string& command,
                                                          const std::string&) {
    // Windows takes a command line of at most 32,767 characters with its
    // closing NUL; Wine starts a longer one cut short, so the tool refuses
    // it itself. The characters are those the ANSI code page makes of the
    // bytes.
    constexpr int MaxCommandCharacters = 32767 - 1;
    if (command.size() > static_cast<std::size_t>(INT_MAX) ||
        ::MultiByteToWideChar(CP_ACP, 0, command.data(), static_cast<int>(command.size()), nullptr,
                              0) > MaxCommandCharacters) {
        return nullptr;
    }
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    auto child = std::make_unique<Win32Child>();
    // The child inherits the current directory, which is the start directory:
    // the tool never changes it. Its name is not handed over, since the ANSI
    // code page may not spell it (nor may it fit the system's limit).
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_DEFAULT_ERROR_MODE,
                          nullptr, nullptr, &state_->startupInfo, &child->Info())) {
        return nullptr;
    }
    return child;
}

void SystemProcesses::Pause(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace vexel
