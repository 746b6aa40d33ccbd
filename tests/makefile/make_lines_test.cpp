// Splitting the makefile's text into lines.
#include <gtest/gtest.h>

#include "makefile/make_lines.h"

namespace vexel {
namespace {

TEST(MakeLines, SplitsAtEveryKindOfLineEndEndsAtNulAndSkipsALeadingByteOrderMark) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string_view> lines;
    };
    // clang-format off
    const Case cases[] = {
        {.name = "CR LF, LF, CR", .text = "a\r\nb\nc\rd\n", .lines = {"a", "b", "c", "d"}},
        {.name = "LF CR is two ends", .text = "a\n\rb", .lines = {"a", "", "b"}},
        {.name = "CR CR is two ends", .text = "a\r\rb", .lines = {"a", "", "b"}},
        {.name = "no text, no line", .text = "", .lines = {}},
        {.name = "text ends at NUL", .text = std::string("a\nb\0c\nd", 7), .lines = {"a", "b"}},
        {.name = "a byte-order mark alone", .text = "\xEF\xBB\xBF", .lines = {}},
        {.name = "the mark only at the very start", .text = "\xEF\xBB\xBF\ta\n\xEF\xBB\xBF!",
         .lines = {"\ta", "\xEF\xBB\xBF!"}},
        {.name = "part of a mark stays", .text = "\xEF\xBB", .lines = {"\xEF\xBB"}}};
    // clang-format on
    for (const Case& c : cases) {
        MakeLines lines;
        lines.Assign(c.text);
        std::vector<std::string_view> got;
        for (std::size_t i = 0; i < lines.Count(); ++i)
            got.push_back(lines[i]);
        EXPECT_EQ(got, c.lines) << c.name;
    }
}

} // namespace
} // namespace vexel
