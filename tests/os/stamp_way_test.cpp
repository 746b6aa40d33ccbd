// Which names the Win32 side may ask the cheap way for their age stamp.
#include <gtest/gtest.h>

#include <string>

#include "os/stamp_way.h"

namespace vexel {
namespace {

struct WayCase {
    const char* name;
    std::string path;
    StampWay way;
    std::size_t directoryLength = 0; // with the cheap way
};

TEST(ChooseStampWay, SendsOnlyPlainNamesTheCheapWay) {
    constexpr StampWay cheap = StampWay::Attributes, search = StampWay::Search;
    // clang-format off
    const WayCase cases[] = {
        {"trail byte 5C", "\x95\x5C\\\x95\x5C", cheap, 3}, {"short name", "PROGRA~1\\x", cheap, 9},
        {"259 bytes", std::string(259, 'a'), cheap}, {". and ..", "a\\..\\.\\b", cheap, 7},
        {"\\ and /", "a\\b/c.h", cheap, 4}, {"drive", "C:\\s\\a.c", cheap, 5},
        {"nul dir", "nul\\a", cheap, 4}, {"con...", "console.h", cheap}, {"COM10", "com10", cheap},
        {"rooted", "\\a.c", cheap, 1}, {"plain", "main.obj", cheap},
        {"260 bytes", std::string(260, 'a'), search}, {"LPT2 (superscript)", "LPT\xB2", search},
        {"nul.txt", "d\\nul.txt", search}, {"ends in blank", "a ", search}, {"C:x", "C:a", search},
        {"UNC", "\\\\s\\h\\a", search}, {"aux  .h", "aux  .h", search}, {"< \"", "a<\"", search},
        {"lone lead", "a\x95", search}, {"ends in .", "a.c.", search}, {"CONIN$", "conin$", search},
        {"ends in \\", "s\\", search}, {"CON", "CON", search}, {"?", "a?.c", search},
        {"empty", "", search}, {"*", "*.c", search}, {".", ".", search},
    };
    // clang-format on
    LeadByteSet leadBytes{};
    leadBytes[0x95] = true; // as in code page 932
    for (const WayCase& c : cases) {
        const StampRoute route = ChooseStampWay(c.path, leadBytes);
        EXPECT_EQ(route.way, c.way) << c.name;
        EXPECT_EQ(route.way == cheap ? route.directoryLength : 0, c.directoryLength) << c.name;
    }
}

} // namespace
} // namespace vexel
