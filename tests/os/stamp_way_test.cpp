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
        {"plain", "main.obj", cheap}, {"\\ and /", "a\\b/c.h", cheap, 4},
        {". and ..", "a\\..\\.\\b", cheap, 7}, {"drive", "C:\\s\\a.c", cheap, 5},
        {"rooted", "\\a.c", cheap, 1}, {"short name", "PROGRA~1\\x", cheap, 9},
        {"device folder", "nul\\a", cheap, 4}, {"device inside", "console.h", cheap},
        {"COM10", "com10", cheap}, {"259 bytes", std::string(259, 'a'), cheap},
        {"trail byte like \\", "\x95\x5C\\\x95\x5C", cheap, 3}, {"*", "*.c", search},
        {"?", "a?.c", search}, {"< \"", "a<\"", search}, {"trailing .", "a.c.", search},
        {".", ".", search}, {"..", "s\\..", search}, {"trailing blank", "a ", search},
        {"trailing \\", "s\\", search}, {"trailing /", "s/", search},
        {"drive-relative", "C:a", search}, {"stream", "a:s", search},
        {"UNC", "\\\\s\\h\\a", search}, {"\\\\?\\", "\\\\?\\C:\\a", search}, {"CON", "CON", search},
        {"com1", "com1", search}, {"nul.txt", "d\\nul.txt", search},
        {"LPT superscript 2", "LPT\xB2", search}, {"CONIN$", "conin$", search},
        {"aux  .h", "aux  .h", search}, {"empty", "", search},
        {"MAX_PATH bytes", std::string(260, 'a'), search}, {"lone lead byte", "a\x95", search},
    };
    // clang-format on
    LeadByteSet leadBytes{}; // code page 932's
    for (unsigned byte = 0x81; byte <= 0xFC; ++byte)
        leadBytes[byte] = byte <= 0x9F || byte >= 0xE0;
    for (const WayCase& c : cases) {
        const StampRoute route = ChooseStampWay(c.path, leadBytes);
        EXPECT_EQ(route.way, c.way) << c.name;
        EXPECT_EQ(route.way == cheap ? route.directoryLength : 0, c.directoryLength) << c.name;
    }
}

} // namespace
} // namespace vexel
