#include "os/win32/win32_platform.h"

#include <cstring>

namespace vexel {

Win32Platform::Win32Platform(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        arguments_.emplace_back(argv[i] != nullptr ? argv[i] : "");
}

Win32Platform::~Win32Platform() = default;

uint32_t Win32Platform::ReadEnvironment(const std::string& name, char* buffer, uint32_t size) {
    return ::GetEnvironmentVariableA(name.c_str(), buffer, size);
}

bool Win32Platform::CommandLineText(std::string& text) {
    const char* line = ::GetCommandLineA();
    text = line != nullptr ? line : "";
    return true;
}

std::vector<std::string> Win32Platform::ArgumentVector() {
    // Only asked for when CommandLineText gives nothing, which never
    // happens here; the runtime's own split is the closest stand-in.
    return arguments_;
}

std::string Win32Platform::CurrentDirectory() {
    // The first read uses MAX_PATH; a longer path reports the size it
    // needs (NUL included) and is read again with that size. Should the
    // directory change between the two calls, the loop asks once more.
    DWORD size = MAX_PATH;
    std::string path;
    for (;;) {
        path.assign(size, '\0');
        const DWORD length = ::GetCurrentDirectoryA(size, path.data());
        if (length == 0) return {};
        if (length < size) {
            path.resize(length);
            return path;
        }
        size = length;
    }
}

LeadByteSet Win32Platform::LeadBytes() {
    LeadByteSet leadBytes{};
    if (::GetSystemMetrics(SM_DBCSENABLED) == 0) return leadBytes;
    CPINFO info{};
    if (!::GetCPInfo(CP_ACP, &info)) return leadBytes;
    // Ranges come in pairs (first, last), ended by a pair of zeros.
    for (int i = 0; i + 1 < MAX_LEADBYTES; i += 2) {
        const unsigned first = info.LeadByte[i];
        const unsigned last = info.LeadByte[i + 1];
        if (first == 0 && last == 0) break;
        for (unsigned byte = first; byte <= last && byte < leadBytes.size(); ++byte)
            leadBytes[byte] = true;
    }
    return leadBytes;
}

std::string Win32Platform::MatchKey(std::string_view name) {
    auto [entry, added] = matchKeys_.try_emplace(std::string(name));
    if (added) entry->second = SortKey(name);
    return entry->second;
}

std::string Win32Platform::SortKey(std::string_view name) {
    // The sort key that CompareStringA compares with: two names have equal
    // keys exactly when the comparison calls them equal.
    if (name.empty()) return {};
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(name.size());
    const int size = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), length, nullptr, 0);
    if (size > 0) {
        std::string key(static_cast<std::size_t>(size), '\0');
        const int written =
            ::LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), length, key.data(), size);
        if (written > 0) {
            key.resize(static_cast<std::size_t>(written));
            return key;
        }
    }
    // No key from the system: fall back to the name itself, marked by a
    // leading NUL that no sort key starts with, so it matches only itself.
    std::string key(1, '\0');
    key.append(name);
    return key;
}

std::string Win32Platform::ModuleFileName() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = ::GetModuleFileNameA(nullptr, path.data(), size);
        if (length == 0) return {};
        if (length < size) {
            path.resize(length);
            return path;
        }
        if (size >= 32768) return path; // no Windows path is longer
        path.assign(static_cast<std::size_t>(size) * 2, '\0');
    }
}

std::unique_ptr<Platform> CreateSystemPlatform(int argc, char** argv) {
    return std::make_unique<Win32Platform>(argc, argv);
}

} // namespace vexel
