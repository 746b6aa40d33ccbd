#include <climits>
#include <optional>
#include <vector>

#include "os/win32/win32_platform.h"

namespace vexel {

namespace {

// While a target's commands run, Ctrl+C, Ctrl+Break and the closing of the
// console are held back from ending the tool: a child, which shares the
// console, gets them too, and once none runs the runner puts its target back
// and ends the tool as Windows would have (see EndInterrupted).
class ConsoleInterruption {
public:
    ConsoleInterruption() {
        caught_ = 0;
        ::SetConsoleCtrlHandler(Handle, TRUE);
    }
    ConsoleInterruption(const ConsoleInterruption&) = delete;
    ConsoleInterruption& operator=(const ConsoleInterruption&) = delete;
    // The system's handling comes back; an event caught by then ends the
    // tool.
    ~ConsoleInterruption() {
        ::SetConsoleCtrlHandler(Handle, FALSE);
        if (Caught()) ::ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    }

    static bool Caught() { return caught_ != 0; }

private:
    static BOOL WINAPI Handle(DWORD event) {
        if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
            return FALSE;
        caught_ = 1;
        // The system ends the tool as soon as a handler returns from the
        // closing of the console: this one waits for the runner to end it.
        if (event == CTRL_CLOSE_EVENT) ::Sleep(INFINITE);
        return TRUE;
    }

    static inline volatile LONG caught_ = 0;
};

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

    std::optional<ChildStatus> Query() override {
        DWORD code = 0;
        if (!::GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
        if (code == STILL_ACTIVE) {
            // 259 is also a code a child can end with: only the process
            // handle tells the two apart.
            const DWORD wait = ::WaitForSingleObject(info_.hProcess, 0);
            if (wait == WAIT_TIMEOUT) return ChildStatus::Running();
            if (wait != WAIT_OBJECT_0) return std::nullopt;
            // It ended, perhaps just after the first query: ask again for
            // the code it really ended with.
            if (!::GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
        }
        return ChildStatus::EndedWith(static_cast<int32_t>(code));
    }

private:
    PROCESS_INFORMATION info_{};
};

} // namespace

struct SystemProcesses::State {
    // Filled once before the first command and passed to every child.
    STARTUPINFOA startupInfo{};
    std::optional<ConsoleInterruption> interruption; // while a target's commands run
};

SystemProcesses::SystemProcesses() : state_(std::make_unique<State>()) {}

SystemProcesses::~SystemProcesses() = default;

void SystemProcesses::PrepareChildStart() {
    ::GetStartupInfoA(&state_->startupInfo);
    state_->startupInfo.dwFlags |= STARTF_USESHOWWINDOW;
    state_->startupInfo.wShowWindow = SW_SHOWNORMAL;
}

std::optional<std::unique_ptr<ChildProcess>> SystemProcesses::StartChild(const std::string& command,
                                                                         const std::string&) {
    // Windows takes a command line of at most 32,767 characters with its
    // closing NUL; Wine starts a longer one cut short, so the tool refuses
    // it itself. The characters are those the ANSI code page makes of the
    // bytes.
    constexpr int MaxCommandCharacters = 32767 - 1;
    if (command.size() > static_cast<std::size_t>(INT_MAX) ||
        ::MultiByteToWideChar(CP_ACP, 0, command.data(), static_cast<int>(command.size()), nullptr,
                              0) > MaxCommandCharacters) {
        return std::nullopt;
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
        return std::nullopt;
    }
    return child;
}

void SystemProcesses::BeginTarget() {
    state_->interruption.emplace();
}

bool SystemProcesses::Interrupted() {
    return ConsoleInterruption::Caught();
}

void SystemProcesses::EndTarget() {
    state_->interruption.reset();
}

void SystemProcesses::EndInterrupted() {
    // What the system's own handling of those events does.
    ::ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

void SystemProcesses::Pause(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace vexel
