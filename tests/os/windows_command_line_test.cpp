// Splitting the text of a command line into the tool's arguments, by its own rules.
#include <gtest/gtest.h>

#include "os/windows_command_line.h"

namespace vexel {
namespace {

using Args = std::vector<std::string>;

TEST(SplitWindowsCommandLine, FollowsTheQuotingRules) {
    // The program name is skipped; blanks are bytes 1 to 32, a backslash
    // escapes nothing, high bytes are argument bytes, the text ends at NUL.
    const std::pair<std::string, Args> cases[] = {
        {"p \"my make file\"", {"my make file"}},
        {"p a\"b c\"d", {"ab cd"}},
        {"p a\tb", {"a", "b"}},
        {"p mk \"\" log.txt", {"mk", "log.txt"}},
        {"p \"\"\"\"", {}},
        {"p \"unterminated text", {"unterminated text"}},
        {"p   \r\n mk\x01\x1flog  ", {"mk", "log"}},
        {"p a\\\"b", {"a\\b"}},
        {"p \xe3\x81\x82 \xa0x", {"\xe3\x81\x82", "\xa0x"}},
        {std::string("p mk\0log", 8), {"mk"}},
        {"\"C:\\Program Files\\vexel.exe\" mk", {"mk"}},
        {"\"C:\\odd\"name.exe mk log", {"mk", "log"}}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SplitWindowsCommandLine(text), expected) << text;
}

} // namespace
} // namespace vexel
