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

// While interruptions are held, an interrupt, termination or hang-up sent to
// the tool is caught and passed on to the child that runs, so that no child
// outlives the tool and the tool can end by the same signal once it has
// cleaned up. Signals the caller had ignored stay ignored.
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
    // The caller's dispositions come back.
    ~SignalForwarding() {
        for (std::size_t i = 0; i < Count; ++i) {
            if (handled_[i]) ::sigaction(Signals[i], &previous_[i], nullptr);
        }
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

    // The signal caught last, if any.
    static std::optional<Interruption> Caught() {
        if (caught_ == 0) return std::nullopt;
        return Interruption{caught_};
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
    // forwarding: the one in force while interruptions are held, if they are.
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

// Where to look for the program: a name holding "/" is taken as it stands
// (relative to the current directory), any other is looked up in PATH.
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

// In the forked child: runs the first candidate that starts. Returns only
// when none did, with the reason.
int StartInChild(const std::vector<std::string>& candidates, std::vector<char*>& argv) {
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
    std::optional<SignalForwarding> forwarding; // while interruptions are held
};

namespace {

class PosixHold : public InterruptionHold {
public:
    explicit PosixHold(std::optional<SignalForwarding>& forwarding) : forwarding_(forwarding) {
        forwarding_.emplace();
    }
    PosixHold(const PosixHold&) = delete;
    PosixHold& operator=(const PosixHold&) = delete;
    ~PosixHold() override { forwarding_.reset(); }

    std::optional<Interruption> Caught() override { return SignalForwarding::Caught(); }

private:
    std::optional<SignalForwarding>& forwarding_;
};

} // namespace

SystemProcesses::SystemProcesses() : state_(std::make_unique<State>()) {}

SystemProcesses::~SystemProcesses() = default;

void SystemProcesses::PrepareChildStart() {}

std::optional<std::unique_ptr<ChildProcess>>
SystemProcesses::StartChild(const std::string& command) {
    std::vector<std::string> arguments = SplitChildArguments(command);
    if (arguments.empty() || arguments[0].empty()) return std::nullopt;
    const std::vector<std::string> candidates = ProgramCandidates(arguments[0]);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The child reports a failed start through this pipe; a successful exec
    // closes it without a word.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return std::nullopt;
    SignalForwarding* forwarding = state_->forwarding ? &*state_->forwarding : nullptr;
    if (forwarding != nullptr) forwarding->HoldBack();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        if (forwarding != nullptr) forwarding->InChild();
        std::signal(SIGPIPE, SIG_DFL);
        const int error = StartInChild(candidates, argv);
        ssize_t ignored = ::write(report[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127); // the child that could not run its program, not the tool
    }
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

std::unique_ptr<InterruptionHold> SystemProcesses::HoldInterruptions() {
    return std::make_unique<PosixHold>(state_->forwarding);
}

void SystemProcesses::EndInterrupted(const Interruption& interruption) {
    // The caller's disposition is in force again, and it is the default: the
    // signal was not one the caller ignored.
    ::raise(interruption.signal);
    std::_Exit(128 + interruption.signal);
}

void SystemProcesses::Pause(unsigned milliseconds) {
    std::timespec remaining{static_cast<std::time_t>(milliseconds / 1000),
                            static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

} // namespace vexel
