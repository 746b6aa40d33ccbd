#include <climits>
#include <optional>
#include <vector>

#include "os/win32/win32_platform.h"

namespace vexel {

namespace {

// While interruptions are held, Ctrl+C, Ctrl+Break and the closing of the
// console are held back from ending the tool: a child, which shares the
// console, gets them too, and the tool ends as Windows would have ended it
// once it has cleaned up (see EndInterrupted).
class ConsoleInterruption {
public:
    ConsoleInterruption() {
        caught_ = NotCaught;
        ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    }
    ConsoleInterruption(const ConsoleInterruption&) = delete;
    ConsoleInterruption& operator=(const ConsoleInterruption&) = delete;
    // The system's handling comes back.
    ~ConsoleInterruption() { ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE); }

    static std::optional<Interruption> Caught() {
        const LONG event = caught_;
        if (event == NotCaught) return std::nullopt;
        return Interruption{static_cast<int>(event)};
    }

    static void Catch(DWORD event) { caught_ = static_cast<LONG>(event); }

private:
    static constexpr LONG NotCaught = -1;
    static inline volatile LONG caught_ = NotCaught;
};

class Win32Hold : public InterruptionHold {
public:
    std::optional<Interruption> Caught() override { return ConsoleInterruption::Caught(); }

private:
    ConsoleInterruption interruption_;
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

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    ConsoleInterruption::Catch(event);
    // The system ends the tool as soon as a handler returns from the closing
    // of the console: this one waits for the tool to end itself.
    if (event == CTRL_CLOSE_EVENT) ::Sleep(INFINITE);
    return TRUE;
}

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

std::optional<std::unique_ptr<ChildProcess>>
SystemProcesses::StartChild(const std::string& command) {
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

std::unique_ptr<InterruptionHold> SystemProcesses::HoldInterruptions() {
    return std::make_unique<Win32Hold>();
}

void SystemProcesses::EndInterrupted(const Interruption&) {
    // What the system's own handling of those events does.
    ::ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
}

void SystemProcesses::Pause(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

} // namespace vexel
