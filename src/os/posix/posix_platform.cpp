#include "os/posix/posix_platform.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace vexel {

PosixPlatform::PosixPlatform(int argc, char** argv) {
    if (argc > 0 && argv[0] != nullptr) programName_ = argv[0];
    for (int i = 1; i < argc; ++i)
        arguments_.emplace_back(argv[i]);
    // A closed pipe on standard output must show as a failed write, not end
    // the process; children get the default back before they start.
    std::signal(SIGPIPE, SIG_IGN);
}

PosixPlatform::~PosixPlatform() = default;

uint32_t PosixPlatform::ReadEnvironment(const std::string& name, char* buffer, uint32_t size) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr || *value == '\0') return 0;
    const std::size_t length = std::strlen(value);
    if (length + 1 > size) {
        return length + 1 > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(length + 1);
    }
    std::memcpy(buffer, value, length + 1);
    return static_cast<uint32_t>(length);
}

bool PosixPlatform::CommandLineText(std::string&) {
    return false; // the caller has split the command line already
}

std::vector<std::string> PosixPlatform::ArgumentVector() {
    return arguments_;
}

std::string PosixPlatform::CurrentDirectory() {
    std::string path(256, '\0');
    for (;;) {
        if (::getcwd(path.data(), path.size()) != nullptr) {
            path.resize(std::strlen(path.c_str()));
            return path;
        }
        if (errno != ERANGE) return {};
        path.resize(path.size() * 2);
    }
}

LeadByteSet PosixPlatform::LeadBytes() {
    return LeadByteSet{}; // every byte is a character by itself
}

std::string PosixPlatform::MatchKey(std::string_view name) {
    std::string key(name);
    for (char& byte : key) {
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
    }
    return key;
}

std::string PosixPlatform::ModuleFileName() {
#if defined(__linux__)
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length > 0 && static_cast<std::size_t>(length) < path.size()) {
        path.resize(static_cast<std::size_t>(length));
        return path;
    }
#endif
    return programName_;
}

std::unique_ptr<Platform> CreateSystemPlatform(int argc, char** argv) {
    return std::make_unique<PosixPlatform>(argc, argv);
}

} // namespace vexel
