#include "harness.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vexel::e2e {

namespace {

// 2023-11-14 22:13:20 UTC: an even second, so that base + 1 lies in the
// same two-second step of file systems that keep only such steps.
constexpr long long BaseTime = 1700000000;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

bool UnderWine() {
    return !Variable("VEXEL_WINE").empty();
}

void ToolInFreshDirectory::SetUp() {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    ASSERT_FALSE(Variable("VEXEL_EXE").empty()) << "VEXEL_EXE must name the tool";
    ASSERT_FALSE(Variable("VEXEL_CHILD").empty()) << "VEXEL_CHILD must name the child program";
    std::string pattern = (fs::temp_directory_path() / "vexel-e2e-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    root_ = fs::canonical(pattern); // the tool sees the resolved path as its directory
    work_ = root_ / "work";
    fs::create_directory(work_);
}

void ToolInFreshDirectory::TearDown() {
    std::error_code ignored;
    if (!root_.empty()) fs::remove_all(root_, ignored);
}

std::string ToolInFreshDirectory::Expand(std::string text) const {
    for (const auto& [mark, name] : {std::pair{'@', "VEXEL_CHILD"}, std::pair{'%', "VEXEL_EXE"}}) {
        std::string path = ToolPath(Variable(name));
        if (path.find(' ') != std::string::npos) path = "\"" + path + "\"";
        for (std::size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at))
            text.replace(at, 1, path), at += path.size();
    }
    return text;
}

void ToolInFreshDirectory::Write(const fs::path& name, const std::string& text) const {
    fs::create_directories((work_ / name).parent_path());
    std::ofstream file(work_ / name, std::ios::binary);
    ASSERT_TRUE(file << Expand(text) << std::flush) << "cannot write " << name;
}

namespace {

// "S" or "S.F", negative too: seconds after base, to the nanosecond.
timespec TimeAfter(long long base, const std::string& offset) {
    const long double seconds = std::floor(std::stold(offset));
    const long long nanoseconds = std::llround((std::stold(offset) - seconds) * 1e9L);
    return {static_cast<time_t>(base + static_cast<long long>(seconds)),
            static_cast<long>(nanoseconds)};
}

// "name=S" or "name@S" (see Make()): the name, and the time it stands for.
std::pair<std::string, timespec> NamedTime(const std::string& file) {
    const std::size_t mark = file.find_last_of("=@");
    return {file.substr(0, mark),
            TimeAfter(file[mark] == '=' ? BaseTime : 0, file.substr(mark + 1))};
}

} // namespace

void ToolInFreshDirectory::Make(const std::vector<std::string>& files) const {
    for (const std::string& file : files) {
        if (const std::size_t arrow = file.find('>'); arrow != std::string::npos) {
            fs::create_symlink(file.substr(arrow + 1), work_ / file.substr(0, arrow));
            continue;
        }
        const fs::path path = work_ / file.substr(0, file.size() - 1);
        if (file.back() == '|' && ::mkfifo(path.c_str(), 0666) != 0) ADD_FAILURE() << path;
        if (file.back() == '*') fs::create_symlink(Variable("VEXEL_CHILD"), path);
        if (file.back() == '|' || file.back() == '*') continue;
        const std::size_t mark = file.find_last_of("=@");
        if (mark == std::string::npos) {
            fs::create_directories(work_ / file);
            continue;
        }
        auto [name, time] = NamedTime(file);
        std::uintmax_t size = 0;
        if (const std::size_t hash = name.find('#'); hash != std::string::npos) {
            size = std::stoull(name.substr(hash + 1));
            name.erase(hash);
        }
        Write(name, "");
        if (size > 0) fs::resize_file(work_ / name, size); // sparse: no blocks written
        const timespec times[2] = {time, time};
        ASSERT_EQ(::utimensat(AT_FDCWD, (work_ / name).c_str(), times, 0), 0) << file;
    }
}

void ToolInFreshDirectory::ExpectTimes(const std::vector<std::string>& files) const {
    for (const std::string& file : files) {
        auto [name, want] = NamedTime(file);
        if (UnderWine()) want.tv_nsec -= want.tv_nsec % 100;
        struct stat status {};
        ASSERT_EQ(::stat((work_ / name).c_str(), &status), 0) << file;
        EXPECT_EQ(status.st_mtim.tv_sec, want.tv_sec) << file;
        EXPECT_EQ(status.st_mtim.tv_nsec, want.tv_nsec) << file;
    }
}

std::string ToolInFreshDirectory::Read(const fs::path& name) const {
    return ReadFile(work_ / name);
}

std::size_t ToolInFreshDirectory::Entries() const {
    return std::size_t(std::distance(fs::recursive_directory_iterator(work_), {}));
}

std::string ToolInFreshDirectory::ToolPath(const fs::path& path) const {
    if (!UnderWine()) return path.string();
    std::string windows = "Z:" + fs::absolute(path).string(); // Wine's drive for the Unix root
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

namespace {

// The words to start: Wine and the tool's environment first, then the tool
// and its arguments.
std::vector<std::string> CommandLine(const std::vector<std::string>& args, const Options& options) {
    std::vector<std::string> command;
    std::istringstream wine(Variable("VEXEL_WINE")); // may hold options: "wine64 --x"
    for (std::string word; wine >> word;)
        command.push_back(word);
    const std::string comSpec = options.comSpec ? "COMSPEC=" + *options.comSpec : "COMSPEC";
    if (!UnderWine()) // the tool needs COMSPEC, which a POSIX environment seldom has
        command.insert(command.end(), {"env", options.comSpec ? comSpec : "--unset=COMSPEC"});
    else if (options.comSpec != Options{}.comSpec || options.console) {
        command.push_back(Variable("VEXEL_LAUNCHER"));
        if (options.console) command.push_back("--console");
        if (options.comSpec != Options{}.comSpec)
            command.insert(command.end(), {options.comSpec ? "--set" : "--unset", comSpec});
        command.push_back("--");
    }
    if (!options.environment.empty()) { // Wine passes the variables on to Windows programs
        command.insert(command.begin(), options.environment.begin(), options.environment.end());
        command.insert(command.begin(), "env");
    }
    if (options.descriptors > 0)
        command.insert(command.begin(),
                       {"prlimit", "--nofile=" + std::to_string(options.descriptors) + ":"});
    command.push_back(Variable("VEXEL_EXE"));
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

// Starts the command in work with standard output and error in files of
// root, in a process group of its own so that its children can be waited
// for; 0 when it cannot start.
pid_t Start(std::vector<std::string> command, const Options& options, const fs::path& root,
            const fs::path& work) {
    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const fs::path out = root / "stdout", err = root / "stderr";
    const int create = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.out == Stdout::Closed)
        posix_spawn_file_actions_addclose(&actions, 1);
    else
        posix_spawn_file_actions_addopen(
            &actions, 1, options.out == Stdout::DevFull ? "/dev/full" : out.c_str(), create, 0666);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), create, 0666);
    if (options.directory >= 0)
        posix_spawn_file_actions_addfchdir_np(&actions, options.directory);
    else
        posix_spawn_file_actions_addchdir_np(&actions, work.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions, 3); // only what the run is given
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error == 0) return pid;
    ADD_FAILURE() << "cannot start " << argv[0] << ": " << std::strerror(error);
    return 0;
}

// Waits for the tool's end, sending the signal asked for once a command has
// made the file "started", then for every other process of its group when
// asked (see Run); past the time limit the whole group is killed and the
// test fails. Gives the tool's status as the shell sees it. The group is
// waited for only once the tool has ended: where the spawn does not wait for
// the child's exec (under an emulator), the group may not exist yet at first.
int AwaitEnd(pid_t pid, const Options& options, const fs::path& work, bool orphans) {
    int status = 0;
    bool toolEnded = false, signalled = options.signal == 0;
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        int ended = 0;
        const pid_t reaped = ::waitpid(toolEnded ? -pid : pid, &ended, WNOHANG);
        if (!toolEnded && reaped == pid)
            status = ended, toolEnded = true;
        else if (reaped < 0 && errno != EINTR)
            break; // nothing of the run is left
        if (toolEnded && !orphans) break;
        if (!signalled && !toolEnded && fs::exists(work / "started")) {
            ::kill(options.toGroup ? -pid : pid, options.signal);
            signalled = true;
        }
        if (std::chrono::steady_clock::now() - start > options.limit) {
            ADD_FAILURE() << "the tool or a process it left did not end within "
                          << options.limit.count() << " s";
            ::kill(-pid, SIGKILL);
        }
        if (reaped <= 0) ::usleep(5000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
}

} // namespace

Result ToolInFreshDirectory::Run(const std::vector<std::string>& args,
                                 const Options& options) const {
    const pid_t pid = Start(CommandLine(args, options), options, root_, work_);
    if (pid == 0) return {};
    // A child the tool left behind must have done its work before the files
    // are read. Under Wine the group may hold Wine's own server, which ends
    // a few seconds after its last client, so there only when asked.
    // The harness adopts orphans (see SetUp), so they can be waited for.
    Result result;
    result.status = AwaitEnd(pid, options, work_, !UnderWine() || options.out != Stdout::Captured);
    result.out = options.out == Stdout::Captured ? ReadFile(root_ / "stdout") : "";
    result.err = ReadFile(root_ / "stderr");
    return result;
}

} // namespace vexel::e2e
