// Double-byte aware finding and trimming.
#include <gtest/gtest.h>

#include "base/text.h"

namespace vexel {
namespace {

TEST(FindPattern, SkipsMatchesOnSecondBytesAndStopsAtNul) {
    LeadByteSet lead{}; // 0x81 to 0x9F and 0xE0 to 0xFC, as in a Japanese code page
    for (int byte = 0x81; byte <= 0xFC; ++byte)
        lead[byte] = byte <= 0x9F || byte >= 0xE0;
    const std::size_t none = std::string_view::npos;
    // Text, pattern, position with those lead bytes, position without.
    const std::tuple<std::string, std::string, std::size_t, std::size_t> cases[] = {
        {"\x81: b: c", ": ", 4, 1},                   // ':' is the second byte of a character
        {"\x81\x81: b", ": ", 2, 2},                  // two lead bytes make one character
        {"\x81\x81\x81: b: c", ": ", 6, 3},           // an odd run: a second byte again
        {"x\x81 \x81\x81 y", " ", 5, 2},              // the run starts anew after a blank
        {std::string("a\0: b", 5), ": ", none, none}, // the text ends at NUL
        {"\x81\x81\x81\x81x", "\x81x", none, 3},      // a pattern that begins with a lead byte
        {"a: b", "", none, none}};
    for (const auto& [text, pattern, withLeadBytes, without] : cases) {
        EXPECT_EQ(FindPattern(text, pattern, lead), withLeadBytes) << text;
        EXPECT_EQ(FindPattern(text, pattern, LeadByteSet{}), without) << text;
    }
    EXPECT_EQ(Trim(std::string("\x01 \ta b\x7f\x20\0", 9)), "a b\x7f");
}

} // namespace
} // namespace vexel
