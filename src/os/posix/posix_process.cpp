#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <iterator>
#include <memory>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "os/posix/child_arguments.h"
#include "os/system_platform.h"

extern char** environ;

namespace vexel {

namespace {

// While a target's commands run, an interrupt, termination or hang-up sent
// to the tool is caught and passed on to the child that runs; the runner
// then ends the tool by the same signal once no child runs (after it has put
// the target back), so that no child outlives it and its caller sees the
// signal. Signals the caller had ignored stay ignored.
class SignalForwarding {
public:
    SignalForwarding() {
        caught_ = 0;
        forwardTo_ = 0;
        sigemptyset(&forwarded_);
        struct sigaction action {};
        action.sa_handler = Forward;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < Count; ++i) {
            ::sigaction(Signals[i], nullptr, &previous_[i]);
            handled_[i] = previous_[i].sa_handler != SIG_IGN;
            if (handled_[i]) {
                ::sigaction(Signals[i], &action, nullptr);
                sigaddset(&forwarded_, Signals[i]);
            }
        }
    }
    SignalForwarding(const SignalForwarding&) = delete;
    SignalForwarding& operator=(const SignalForwarding&) = delete;
    // The caller's dispositions come back; a signal caught by then ends the
    // tool.
    ~SignalForwarding() {
        for (std::size_t i = 0; i < Count; ++i) {
            if (handled_[i]) ::sigaction(Signals[i], &previous_[i], nullptr);
        }
        if (caught_ != 0) Raise();
    }

    // Held back from before the fork until the child's number is known.
    void HoldBack() { ::sigprocmask(SIG_BLOCK, &forwarded_, &mask_); }

    // In the child, before it runs its program: the caller's dispositions.
    void InChild() const {
        for (std::size_t i = 0; i < Count; ++i) {
            if (handled_[i]) ::signal(Signals[i], SIG_DFL);
        }
        ::sigprocmask(SIG_SETMASK, &mask_, nullptr);
    }

    void Started(pid_t child) {
        forwardTo_ = child;
        ::sigprocmask(SIG_SETMASK, &mask_, nullptr);
    }
    void Ended() { forwardTo_ = 0; }

    static bool Caught() { return caught_ != 0; }

    // Ends the tool by the signal caught last, under the caller's
    // disposition, which is the default: it is not one the caller ignored.
    [[noreturn]] static void Raise() {
        ::raise(caught_);
        std::_Exit(128 + caught_);
    }

private:
    static constexpr int Signals[] = {SIGINT, SIGTERM, SIGHUP};
    static constexpr std::size_t Count = std::size(Signals);

    static void Forward(int signal) {
        caught_ = signal;
        if (forwardTo_ > 0) ::kill(forwardTo_, signal);
    }

    static inline volatile std::sig_atomic_t caught_ = 0;
    static inline volatile std::sig_atomic_t forwardTo_ = 0;
    struct sigaction previous_[Count] {};
    bool handled_[Count] = {};
    sigset_t forwarded_{};
    sigset_t mask_{};
};

class PosixChild : public ChildProcess {
public:
    // forwarding: the target's, if one runs.
    PosixChild(pid_t pid, SignalForwarding* forwarding) : pid_(pid), forwarding_(forwarding) {}

    std::optional<ChildStatus> Query() override {
        int status = 0;
        pid_t result;
        do {
            result = ::waitpid(pid_, &status, WNOHANG);
        } while (result < 0 && errno == EINTR);
        if (result == 0) return ChildStatus::Running();
        if (result == pid_ && !WIFEXITED(status) && !WIFSIGNALED(status))
            return ChildStatus::Running();
        if (forwarding_ != nullptr) forwarding_->Ended();
        if (result != pid_) return std::nullopt;
        return ChildStatus::EndedWith(WIFEXITED(status) ? WEXITSTATUS(status)
                                                        : 128 + WTERMSIG(status));
    }

private:
    pid_t pid_;
    SignalForwarding* forwarding_;
};

// A descriptor of the directory. A path longer than the system takes in one
// call is opened one component at a time.
int OpenDirectory(const std::string& path) {
    constexpr int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    int directory = ::open(path.c_str(), flags);
    if (directory >= 0 || errno != ENAMETOOLONG) return directory;
    directory = ::open(path[0] == '/' ? "/" : ".", flags);
    for (std::size_t start = 0; directory >= 0 && start < path.size();) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) {
            const int next = ::openat(directory, path.substr(start, end - start).c_str(), flags);
            ::close(directory);
            directory = next;
        }
        start = end + 1;
    }
    return directory;
}

// Where to look for the program: a name holding "/" is taken as it stands
// (relative to the start directory), any other is looked up in PATH.
std::vector<std::string> ProgramCandidates(const std::string& program) {
    if (program.find('/') != std::string::npos) return {program};
    const char* pathValue = std::getenv("PATH");
    const std::string path = pathValue ? pathValue : "/bin:/usr/bin";
    std::vector<std::string> candidates;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(':', start);
        std::string candidate =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (candidate.empty()) candidate.push_back('.');
        candidate.push_back('/');
        candidate.append(program);
        candidates.push_back(std::move(candidate));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return candidates;
}

void ReadExactly(int descriptor, void* data, std::size_t size, std::size_t& got) {
    got = 0;
    auto* bytes = static_cast<char*>(data);
    while (got < size) {
        const ssize_t count = ::read(descriptor, bytes + got, size - got);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return;
        got += static_cast<std::size_t>(count);
    }
}

// In the forked child: enters the start directory and runs the first
// candidate that starts. Returns only when none did, with the reason.
int StartInChild(const std::string& directory, int startIn, int directoryError,
                 const std::vector<std::string>& candidates, std::vector<char*>& argv) {
    if (!directory.empty() && (startIn < 0 || ::fchdir(startIn) != 0))
        return startIn < 0 ? directoryError : errno;
    int error = 0;
    for (const std::string& candidate : candidates) {
        ::execve(candidate.c_str(), argv.data(), environ);
        // Keep the most telling reason, as a shell would.
        if (error == 0 || errno == EACCES) error = errno;
    }
    return error;
}

} // namespace

struct SystemProcesses::State {
    std::optional<SignalForwarding> forwarding; // while a target's commands run
};

SystemProcesses::SystemProcesses() : state_(std::make_unique<State>()) {}

SystemProcesses::~SystemProcesses() = default;

void SystemProcesses::PrepareChildStart() {}

std::optional<std::unique_ptr<ChildProcess>>
SystemProcesses::StartChild(const std::string& command, const std::string& directory) {
    std::vector<std::string> arguments = SplitChildArguments(command);
    if (arguments.empty() || arguments[0].empty()) return std::nullopt;
    const std::vector<std::string> candidates = ProgramCandidates(arguments[0]);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // Opened here, so that a start directory of any length can be entered.
    const int startIn = directory.empty() ? -1 : OpenDirectory(directory);
    const int directoryError = startIn < 0 ? errno : 0;

    // The child reports a failed start through this pipe; a successful exec
    // closes it without a word.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        if (startIn >= 0) ::close(startIn);
        return std::nullopt;
    }
    SignalForwarding* forwarding = state_->forwarding ? &*state_->forwarding : nullptr;
    if (forwarding != nullptr) forwarding->HoldBack();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        if (forwarding != nullptr) forwarding->InChild();
        std::signal(SIGPIPE, SIG_DFL);
        const int error = StartInChild(directory, startIn, directoryError, candidates, argv);
        ssize_t ignored = ::write(report[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    if (startIn >= 0) ::close(startIn);
    ::close(report[1]);
    if (forwarding != nullptr) forwarding->Started(pid < 0 ? 0 : pid);
    if (pid < 0) {
        ::close(report[0]);
        return std::nullopt;
    }
    int error = 0;
    std::size_t got = 0;
    ReadExactly(report[0], &error, sizeof error, got);
    ::close(report[0]);
    if (got == sizeof error) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        if (forwarding != nullptr) forwarding->Ended();
        return std::nullopt;
    }
    return std::make_unique<PosixChild>(pid, forwarding);
}

void SystemProcesses::BeginTarget() {
    state_->forwarding.emplace();
}

bool SystemProcesses::Interrupted() {
    return SignalForwarding::Caught();
}

void SystemProcesses::EndTarget() {
    state_->forwarding.reset();
}

void SystemProcesses::EndInterrupted() {
    state_->forwarding.reset(); // the caller's dispositions, for the signal to end the tool
    SignalForwarding::Raise();
}

void SystemProcesses::Pause(unsigned milliseconds) {
    std::timespec remaining{static_cast<std::time_t>(milliseconds / 1000),
                            static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

} // namespace vexel
