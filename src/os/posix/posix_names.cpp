#include "os/posix/posix_platform.h"

namespace vexel {

LeadByteSet PosixNameRules::LeadBytes() {
    return LeadByteSet{}; // every byte is a character by itself
}

void PosixNameRules::MatchKey(std::string_view name, std::string& key) {
    FoldAsciiCase(name, key);
}

} // namespace vexel
