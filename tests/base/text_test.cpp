// Double-byte aware finding and trimming.
#include <gtest/gtest.h>

#include "base/text.h"

namespace vexel {
namespace {

constexpr std::size_t None = std::string_view::npos;

struct FindCase {
    const char* name;
    std::string text, pattern;
    std::size_t withLeadBytes, without; // where it is found with the lead bytes, and without
};

TEST(FindPattern, SkipsMatchesOnSecondBytesAndStopsAtNul) {
    LeadByteSet lead{}; // 0x81 to 0x9F and 0xE0 to 0xFC, as in a Japanese code page
    for (int byte = 0x81; byte <= 0xFC; ++byte)
        lead[byte] = byte <= 0x9F || byte >= 0xE0;
    // clang-format off
    const FindCase cases[] = {
        {.name = "a second byte", .text = "\x81: b: c", .pattern = ": ", .withLeadBytes = 4, .without = 1},
        {.name = "two lead bytes, one character", .text = "\x81\x81: b", .pattern = ": ",
         .withLeadBytes = 2, .without = 2},
        {.name = "an odd run", .text = "\x81\x81\x81: b: c", .pattern = ": ", .withLeadBytes = 6,
         .without = 3},
        {.name = "a run anew after a blank", .text = "x\x81 \x81\x81 y", .pattern = " ",
         .withLeadBytes = 5, .without = 2},
        {.name = "the text ends at NUL", .text = std::string("a\0: b", 5), .pattern = ": ",
         .withLeadBytes = None, .without = None},
        {.name = "a pattern that begins with a lead byte", .text = "\x81\x81\x81\x81x",
         .pattern = "\x81x", .withLeadBytes = None, .without = 3},
        {.name = "an empty pattern", .text = "a: b", .pattern = "", .withLeadBytes = None,
         .without = None}};
    // clang-format on
    for (const FindCase& c : cases) {
        EXPECT_EQ(FindPattern(c.text, c.pattern, lead), c.withLeadBytes) << c.name;
        EXPECT_EQ(FindPattern(c.text, c.pattern, LeadByteSet{}), c.without) << c.name;
    }
    EXPECT_EQ(Trim(std::string("\x01 \ta b\x7f\x20\0", 9)), "a b\x7f");
}

} // namespace
} // namespace vexel
