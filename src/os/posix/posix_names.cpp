#include "os/posix/posix_platform.h"

namespace vexel {

LeadByteSet PosixNameRules::LeadBytes() {
    return LeadByteSet{}; // every byte is a character by itself
}

void PosixNameRules::MatchKey(std::string_view name, std::string& key) {
    // ASCII letters without regard to case; every other byte as it is.
    key.assign(name);
    for (char& byte : key) {
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
    }
}

} // namespace vexel
