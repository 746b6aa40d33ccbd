// Double-byte aware finding and trimming.
#include <gtest/gtest.h>

#include "base/text.h"

namespace vexel {
namespace {

constexpr std::size_t None = std::string_view::npos;

struct FindCase {
    const char* name;
    std::string text, pattern;
    std::size_t lead, plain; // where it is found with the lead bytes, and with none
};

TEST(FindPattern, SkipsMatchesOnSecondBytesAndStopsAtNul) {
    LeadByteSet lead{}; // 0x81 to 0x9F and 0xE0 to 0xFC, as in a Japanese code page
    for (int byte = 0x81; byte <= 0xFC; ++byte)
        lead[byte] = byte <= 0x9F || byte >= 0xE0;
    // clang-format off
    const FindCase cases[] = {
        {.name = "a second byte", .text = "\x81: b: c", .pattern = ": ", .lead = 4, .plain = 1},
        {.name = "two lead bytes", .text = "\x81\x81: b", .pattern = ": ", .lead = 2, .plain = 2},
        {.name = "an odd run", .text = "\x81\x81\x81: b: c", .pattern = ": ", .lead = 6, .plain = 3},
        {.name = "a run anew after a blank", .text = "x\x81 \x81\x81 y", .pattern = " ", .lead = 5, .plain = 2},
        {.name = "ends at NUL", .text = std::string("a\0: b", 5), .pattern = ": ", .lead = None, .plain = None},
        {.name = "a lead byte first", .text = "\x81\x81\x81\x81x", .pattern = "\x81x", .lead = None, .plain = 3},
        {.name = "an empty pattern", .text = "a: b", .pattern = "", .lead = None, .plain = None}};
    // clang-format on
    for (const FindCase& c : cases) {
        EXPECT_EQ(FindPattern(c.text, c.pattern, lead), c.lead) << c.name;
        EXPECT_EQ(FindPattern(c.text, c.pattern, LeadByteSet{}), c.plain) << c.name;
    }
    EXPECT_EQ(Trim(std::string("\x01 \ta b\x7f\x20\0", 9)), "a b\x7f");
}

} // namespace
} // namespace vexel
