// A command's child arguments, by the rules of the Microsoft C runtime.
#include <gtest/gtest.h>

#include "os/posix/child_arguments.h"

namespace vexel {
namespace {

using Args = std::vector<std::string>;

TEST(SplitChildArguments, FollowsTheCRuntimeRules) {
    // In the program name quotes anywhere keep blanks and no backslash
    // escapes them; after it 2n backslashes and a quote give n and open or
    // close a quoted stretch, 2n+1 give n and a literal quote.
    const std::pair<std::string, Args> cases[] = {
        {"cc \t a  b \t", {"cc", "a", "b"}},
        {"\"C:\\Program Files\\cc.exe\" -o \"my out\"",
         {"C:\\Program Files\\cc.exe", "-o", "my out"}},
        {"C:\\bin\\cc a\\b \\\\server\\share x\\",
         {"C:\\bin\\cc", "a\\b", "\\\\server\\share", "x\\"}},
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},
        {"p a\\\\\\\\\"b\"", {"p", "a\\\\b"}},
        {"p \"a\"\"b\"", {"p", "a\"b"}},
        {"p \"a\"\" b\" c", {"p", "a\" b", "c"}},
        {"p a\\ b", {"p", "a\\", "b"}},
        {"\"p\\\" a", {"p\\", "a"}},
        {"\"my tools\"/cc x", {"my tools/cc", "x"}},
        {"tools/\"my cc\" x", {"tools/my cc", "x"}}};
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(SplitChildArguments(line), expected) << line;
}

} // namespace
} // namespace vexel
