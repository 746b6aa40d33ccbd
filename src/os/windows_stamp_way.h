// Which of two Win32 calls reads a name's age stamp: the cheap question for
// the file's attributes, or the directory search that the stamp is defined
// by. The choice is made on the name alone, by rules that hold on every
// platform, so that they are tested everywhere.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/text.h"

namespace vexel {

enum class StampWay {
    Attributes, // GetFileAttributesExA, once the directory is known to list
    Search,     // FindFirstFileA + FindClose
};

struct StampRoute {
    StampWay way = StampWay::Search;
    // The name's directory part, its last separator included (0: none).
    std::size_t directoryLength = 0;
};

// The way for name, whose bytes are read with the code page's lead bytes.
StampRoute ChooseStampWay(std::string_view name, const LeadByteSet& leadBytes);

} // namespace vexel
