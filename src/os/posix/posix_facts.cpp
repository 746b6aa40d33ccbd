#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "os/system_platform.h"

namespace vexel {

struct SystemFacts::State {
    std::vector<std::string> arguments;
    std::string programName;
};

SystemFacts::SystemFacts(int argc, char** argv) : state_(std::make_unique<State>()) {
    if (argc > 0 && argv[0] != nullptr) state_->programName = argv[0];
    // The caller has split the command line already. An empty argument
    // cannot be given on a Windows command line, so it is none here either.
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && argv[i][0] != '\0') state_->arguments.emplace_back(argv[i]);
    }
}

SystemFacts::~SystemFacts() = default;

EnvironmentValue SystemFacts::Environment(const std::string& name, std::size_t maxLength) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0') return {};
    const std::size_t length = std::strlen(value);
    if (length > maxLength) return {EnvironmentValue::Status::TooLong, {}};
    return {EnvironmentValue::Status::Found, std::string(value, length)};
}

std::vector<std::string> SystemFacts::Arguments() {
    return state_->arguments;
}

std::optional<std::string> SystemFacts::ModuleFileName() {
#if defined(__linux__)
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
        path.resize(static_cast<std::size_t>(length));
        return path;
    }
#endif
    if (state_->programName.empty()) return std::nullopt;
    return state_->programName;
}

} // namespace vexel
