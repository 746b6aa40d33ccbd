// Splitting the makefile's text into lines.
#include <gtest/gtest.h>

#include "makefile/make_lines.h"

namespace vexel {
namespace {

TEST(MakeLines, SplitsAtEveryKindOfLineEndEndsAtNulAndSkipsALeadingByteOrderMark) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\r\nb", "a|b|"},
        {"a\nb\n", "a|b|"},
        {"a\rb\r", "a|b|"},
        {"a\n\rb", "a||b|"},
        {"a\r\rb", "a||b|"},
        {"", ""},
        {std::string("a\nb\0c\nd", 7), "a|b|"},
        {"\xEF\xBB\xBF", ""},
        {"\xEF\xBB\xBF\ta\n\xEF\xBB\xBF!", "\ta|\xEF\xBB\xBF!|"},
        {"\xEF\xBB", "\xEF\xBB|"}};
    for (const auto& [text, expected] : cases) {
        MakeLines lines;
        lines.Assign(text);
        std::string got;
        for (std::size_t i = 0; i < lines.Count(); ++i)
            got.append(lines[i]).append("|");
        EXPECT_EQ(got, expected) << testing::PrintToString(text);
    }
}

} // namespace
} // namespace vexel
