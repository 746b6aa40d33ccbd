#include <cstring>

#include "os/win32/win32_platform.h"
#include "os/windows_command_line.h"

namespace vexel {

// The arguments come from the command-line text, split by the tool's own
// rules, not from the runtime's argument vector: nothing is kept.
struct SystemFacts::State {};

SystemFacts::SystemFacts(int, char**) : state_(std::make_unique<State>()) {}

SystemFacts::~SystemFacts() = default;

EnvironmentValue SystemFacts::Environment(const std::string& name, std::size_t maxLength) {
    // A value that does not fit reports the size it needs, its NUL included,
    // so the size test comes first.
    std::string buffer(maxLength + 1, '\0');
    const auto size = static_cast<int32_t>(buffer.size());
    const auto needed = static_cast<int32_t>(
        ::GetEnvironmentVariableA(name.c_str(), buffer.data(), static_cast<DWORD>(size)));
    if (needed > size) return {EnvironmentValue::Status::TooLong, {}};
    if (needed == 0) return {};
    buffer.resize(std::strlen(buffer.c_str()));
    return {EnvironmentValue::Status::Found, std::move(buffer)};
}

std::vector<std::string> SystemFacts::Arguments() {
    const char* line = ::GetCommandLineA();
    return SplitWindowsCommandLine(line != nullptr ? line : "");
}

std::optional<std::string> SystemFacts::ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), size);
        if (length == 0) return std::nullopt;
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= 32768) return path; // no Windows path is longer
        path.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
}

} // namespace vexel
