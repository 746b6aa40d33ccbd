#include "os/system_platform.h"

namespace vexel {

LeadByteSet SystemNames::LeadBytes() {
    return LeadByteSet{}; // every byte is a character by itself
}

void SystemNames::MatchKey(std::string_view name, std::string& key) {
    FoldAsciiCase(name, key);
}

} // namespace vexel
