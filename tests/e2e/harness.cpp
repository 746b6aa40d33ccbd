#include "harness.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <map>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vexel::e2e {

namespace {

// 2023-11-14 22:13:20 UTC: an even second, far from any change of daylight
// saving time, so that base + 1 lies in the same two-second step.
constexpr long BaseTime = 1700000000;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The tool's environment: ours, with COMSPEC set unless the case says
// otherwise, then the case's changes.
std::vector<std::string> Environment(const Options& options) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    variables["COMSPEC"] = "C:\\Windows\\system32\\cmd.exe";
    if (!UnderWine()) {
        for (const auto& [name, value] : options.env) {
            if (value)
                variables[name] = *value;
            else
                variables.erase(name);
        }
    }
    std::vector<std::string> environment;
    for (const auto& [name, value] : variables)
        environment.push_back(name + "=" + value);
    return environment;
}

std::vector<std::string> CommandLine(const std::vector<std::string>& args, const Options& options) {
    std::vector<std::string> command;
    if (UnderWine()) {
        std::istringstream wine(Variable("VEXEL_WINE")); // may hold options: "wine64 --x"
        for (std::string word; wine >> word;)
            command.push_back(word);
        if (!options.env.empty()) {
            command.push_back(Launcher());
            for (const auto& [name, value] : options.env) {
                command.push_back(value ? "--set" : "--unset");
                command.push_back(value ? name + "=" + *value : name);
            }
            command.push_back("--");
        }
    }
    command.push_back(Variable("VEXEL_EXE"));
    command.insert(command.end(), args.begin(), args.end());
    return command;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

bool UnderWine() {
    return !Variable("VEXEL_WINE").empty();
}

std::string Launcher() {
    return Variable("VEXEL_LAUNCHER");
}

void E2eTest::SetUp() {
    ASSERT_FALSE(Variable("VEXEL_EXE").empty()) << "VEXEL_EXE must name the tool";
    ASSERT_FALSE(Variable("VEXEL_CHILD").empty()) << "VEXEL_CHILD must name the child program";
    std::string pattern = (fs::temp_directory_path() / "vexel-e2e-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr) << std::strerror(errno);
    root_ = fs::canonical(pattern); // the tool sees the resolved path as its directory
    work_ = root_ / "work";
    fs::create_directory(work_);
}

void E2eTest::TearDown() {
    std::error_code ignored;
    if (!root_.empty()) fs::remove_all(root_, ignored);
}

void E2eTest::Write(const fs::path& name, std::string_view bytes) const {
    const fs::path path = work_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    ASSERT_TRUE(file.good()) << "cannot write " << path;
}

void E2eTest::SetTime(const fs::path& name, long offset) const {
    const timespec times[2] = {{BaseTime + offset, 0}, {BaseTime + offset, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (work_ / name).c_str(), times, 0), 0) << std::strerror(errno);
}

std::string E2eTest::Read(const fs::path& name) const {
    return ReadBytes(work_ / name);
}

bool E2eTest::Exists(const fs::path& name) const {
    return fs::exists(work_ / name);
}

std::vector<std::string> E2eTest::Listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(work_))
        names.push_back(fs::relative(entry.path(), work_).string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string E2eTest::ToolPath(const fs::path& path) const {
    if (!UnderWine()) return path.string();
    std::string windows = "Z:" + fs::absolute(path).string(); // Wine's drive for the Unix root
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}

std::string E2eTest::Child() const {
    const std::string child = ToolPath(Variable("VEXEL_CHILD"));
    return child.find(' ') == std::string::npos ? child : "\"" + child + "\"";
}

std::string E2eTest::Command(std::string_view arguments) const {
    return std::string("\t").append(Child()).append(" ").append(arguments);
}

Result E2eTest::Run(const std::vector<std::string>& args, const Options& options) const {
    Result result;
    if (UnderWine() && !options.env.empty() && Launcher().empty()) {
        ADD_FAILURE() << "an environment change under Wine needs VEXEL_LAUNCHER";
        return result;
    }
    std::vector<std::string> command = CommandLine(args, options);
    std::vector<std::string> environment = Environment(options);
    const fs::path out = root_ / "stdout", err = root_ / "stderr";
    const fs::path cwd = options.cwd.empty() ? work_ : options.cwd;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.out == Stdout::Captured)
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0666);
    else if (options.out == Stdout::DevFull)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
    else
        posix_spawn_file_actions_addclose(&actions, 1);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());

    pid_t pid = 0;
    const int error = ::posix_spawnp(&pid, command[0].c_str(), &actions, nullptr,
                                     Pointers(command).data(), Pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        ADD_FAILURE() << "cannot start " << command[0] << ": " << std::strerror(error);
        return result;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
    if (options.out == Stdout::Captured) result.out = ReadBytes(out);
    result.err = ReadBytes(err);
    return result;
}

} // namespace vexel::e2e
