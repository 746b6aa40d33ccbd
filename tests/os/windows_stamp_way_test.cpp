// Which names the Win32 side may ask the cheap way for their age stamp.
#include <gtest/gtest.h>

#include <string>

#include "os/windows_stamp_way.h"

namespace vexel {
namespace {

constexpr StampWay Cheap = StampWay::Attributes, Search = StampWay::Search;

struct WayCase {
    const char* name;
    std::string path;
    StampWay way;
    std::size_t directoryLength = 0; // with the cheap way
};

TEST(ChooseStampWay, SendsOnlyPlainNamesTheCheapWay) {
    // clang-format off
    const WayCase cases[] = {
        {.name = "trail byte 5C", .path = "\x95\x5C\\\x95\x5C", .way = Cheap, .directoryLength = 3},
        {.name = "short name", .path = "PROGRA~1\\x", .way = Cheap, .directoryLength = 9},
        {.name = "259 bytes", .path = std::string(259, 'a'), .way = Cheap},
        {.name = ". and ..", .path = "a\\..\\.\\b", .way = Cheap, .directoryLength = 7},
        {.name = "\\ and /", .path = "a\\b/c.h", .way = Cheap, .directoryLength = 4},
        {.name = "drive", .path = "C:\\s\\a.c", .way = Cheap, .directoryLength = 5},
        {.name = "nul dir", .path = "nul\\a", .way = Cheap, .directoryLength = 4},
        {.name = "con...", .path = "console.h", .way = Cheap}, {.name = "COM10", .path = "com10", .way = Cheap},
        {.name = "rooted", .path = "\\a.c", .way = Cheap, .directoryLength = 1}, {.name = "plain", .path = "main.obj", .way = Cheap},
        {.name = "260 bytes", .path = std::string(260, 'a'), .way = Search},
        {.name = "LPT2 (superscript)", .path = "LPT\xB2", .way = Search},
        {.name = "nul.txt", .path = "d\\nul.txt", .way = Search}, {.name = "C:x", .path = "C:a", .way = Search},
        {.name = "ends in blank", .path = "a ", .way = Search}, {.name = "CON", .path = "CON", .way = Search},
        {.name = "UNC", .path = "\\\\s\\h\\a", .way = Search}, {.name = "?", .path = "a?.c", .way = Search},
        {.name = "aux  .h", .path = "aux  .h", .way = Search}, {.name = "< \"", .path = "a<\"", .way = Search},
        {.name = "lone lead", .path = "a\x95", .way = Search}, {.name = "*", .path = "*.c", .way = Search},
        {.name = "ends in .", .path = "a.c.", .way = Search}, {.name = ".", .path = ".", .way = Search},
        {.name = "CONIN$", .path = "conin$", .way = Search}, {.name = "empty", .path = "", .way = Search},
        {.name = "ends in \\", .path = "s\\", .way = Search},
    };
    // clang-format on
    LeadByteSet leadBytes{};
    leadBytes[0x95] = true; // as in code page 932
    for (const WayCase& c : cases) {
        const StampRoute route = ChooseStampWay(c.path, leadBytes);
        EXPECT_EQ(route.way, c.way) << c.name;
        EXPECT_EQ(route.way == Cheap ? route.directoryLength : 0, c.directoryLength) << c.name;
    }
}

} // namespace
} // namespace vexel
