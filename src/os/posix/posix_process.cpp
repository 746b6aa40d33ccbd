#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "os/posix/child_arguments.h"
#include "os/posix/posix_platform.h"

extern char** environ;

namespace vexel {

namespace {

class PosixChild : public ChildProcess {
public:
    explicit PosixChild(pid_t pid) : pid_(pid) {}

    State Query(int32_t& exitCode) override {
        int status = 0;
        pid_t result;
        do {
            result = ::waitpid(pid_, &status, WNOHANG);
        } while (result < 0 && errno == EINTR);
        if (result == 0) return State::Running;
        if (result != pid_) return State::QueryFailed;
        if (WIFEXITED(status)) {
            exitCode = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            exitCode = 128 + WTERMSIG(status);
        } else {
            return State::Running;
        }
        return State::Ended;
    }

private:
    pid_t pid_;
};

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

} // namespace

std::unique_ptr<ChildProcess> PosixProcessRunner::StartChild(const std::string& commandLine,
                                                             const std::string& directory) {
    std::vector<std::string> arguments = SplitChildArguments(commandLine);
    if (arguments.empty() || arguments[0].empty()) return nullptr;
    const std::vector<std::string> candidates = ProgramCandidates(arguments[0]);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    // The child reports a failed start through this pipe; a successful exec
    // closes it without a word.
    int report[2];
    if (::pipe(report) != 0) return nullptr;
    ::fcntl(report[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(report[1], F_SETFD, FD_CLOEXEC);

    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return nullptr;
    }
    if (pid == 0) {
        ::close(report[0]);
        std::signal(SIGPIPE, SIG_DFL);
        int error = 0;
        if (!directory.empty() && ::chdir(directory.c_str()) != 0) {
            error = errno;
        } else {
            for (const std::string& candidate : candidates) {
                ::execve(candidate.c_str(), argv.data(), environ);
                // Keep the most telling reason, as a shell would.
                if (error == 0 || errno == EACCES) error = errno;
            }
        }
        ssize_t ignored = ::write(report[1], &error, sizeof error);
        (void)ignored;
        ::_exit(127);
    }
    ::close(report[1]);
    int error = 0;
    std::size_t got = 0;
    ReadExactly(report[0], &error, sizeof error, got);
    ::close(report[0]);
    if (got == sizeof error) {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return nullptr;
    }
    return std::make_unique<PosixChild>(pid);
}

void PosixProcessRunner::Pause(unsigned milliseconds) {
    std::timespec remaining{static_cast<std::time_t>(milliseconds / 1000),
                            static_cast<long>(milliseconds % 1000) * 1000000L};
    while (::nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

} // namespace vexel
