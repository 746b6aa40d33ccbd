#include "os/win32/win32_platform.h"

namespace vexel {

namespace {

std::string CollationKey(std::string_view name) {
    // The sort key that CompareStringA compares with: two names have equal
    // keys exactly when the comparison calls them equal. The caller asks
    // once per distinct name.
    if (name.empty()) return {};
    const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    const int length = static_cast<int>(name.size());
    // Most keys fit a small buffer: one call instead of two (size, then key).
    char small[512];
    const int fitted = ::LCMapStringA(LOCALE_USER_DEFAULT, flags, name.data(), length, small,
                                      static_cast<int>(sizeof small));
    if (fitted > 0) return std::string(small, static_cast<std::size_t>(fitted));
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

// Whether the system reports double-byte character support. Asked only for
// a code page with lead bytes: USER32 is loaded for it, which costs every
// other run a noticeable part of its start-up.
bool DoubleBytesEnabled() {
    const HMODULE user = ::LoadLibraryA("user32.dll");
    if (user == nullptr) return false;
    using Metrics = int(WINAPI*)(int);
    const auto metrics = reinterpret_cast<Metrics>(
        reinterpret_cast<void*>(::GetProcAddress(user, "GetSystemMetrics")));
    const bool enabled = metrics != nullptr && metrics(SM_DBCSENABLED) != 0;
    ::FreeLibrary(user);
    return enabled;
}

} // namespace

LeadByteSet SystemNames::LeadBytes() {
    LeadByteSet leadBytes{};
    CPINFO info{};
    if (!::GetCPInfo(CP_ACP, &info) || info.LeadByte[0] == 0) return leadBytes;
    if (!DoubleBytesEnabled()) return leadBytes;
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

void SystemNames::MatchKey(std::string_view name, std::string& key) {
    key = CollationKey(name);
}

} // namespace vexel
