#include "driver/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexel {
namespace {

using Args = std::vector<std::string>;

TEST(SplitArguments, FollowsTheQuotingRules) {
    struct Case {
        std::string afterName;
        Args expected;
    };
    const Case cases[] = {
        {"", {}},
        {"\"my make file\"", {"my make file"}},
        {"a\"b c\"d", {"ab cd"}},
        {"\"a\"\"b\"", {"ab"}},
        {"a\tb", {"a", "b"}},
        {"\"\" log.txt", {"log.txt"}},
        {"mk \"\"", {"mk"}},
        {"mk \"\" log.txt", {"mk", "log.txt"}},
        {"\"\"\"\"", {}},
        {"\"unterminated text", {"unterminated text"}},
        {"mk log extra", {"mk", "log", "extra"}},
        {"  \r\n mk\x01\x1flog  ", {"mk", "log"}},
        {"a\\\"b", {"a\\b"}},                              // a backslash escapes nothing
        {"\xe3\x81\x82 \xa0x", {"\xe3\x81\x82", "\xa0x"}}, // high bytes are argument bytes
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitArguments("vexel.exe " + c.afterName), c.expected) << c.afterName;
    }
}

TEST(SplitArguments, ProgramNameIsSplitBySameRulesAndSkipped) {
    EXPECT_EQ(SplitArguments("\"C:\\Program Files\\vexel.exe\" mk"), Args{"mk"});
    EXPECT_EQ(SplitArguments("\"C:\\odd\"name.exe mk log"), (Args{"mk", "log"}));
    EXPECT_EQ(SplitArguments(""), Args{});
}

TEST(SplitArguments, TextEndsAtNul) {
    const std::string text("vexel mk\0log", 12);
    EXPECT_EQ(SplitArguments(text), Args{"mk"});
}

TEST(NextArgument, ReturnsPositionAfterTheArgument) {
    const std::string text = "prog  \"a b\"c  d";
    ArgumentItem item = NextArgument(text, 0);
    EXPECT_EQ(item.text, "prog");
    EXPECT_EQ(item.next, 4u);
    item = NextArgument(text, item.next);
    EXPECT_EQ(item.text, "a bc");
    EXPECT_EQ(item.next, 12u);
    item = NextArgument(text, item.next);
    EXPECT_EQ(item.text, "d");
    item = NextArgument(text, item.next);
    EXPECT_EQ(item.text, "");
    EXPECT_EQ(item.next, text.size());
}

TEST(SplitArguments, LongArgumentsAreTakenWhole) {
    const std::string longName(1000, 'x');
    EXPECT_EQ(SplitArguments("p " + longName + " \"" + longName + " y\""),
              (Args{longName, longName + " y"}));
}

} // namespace
} // namespace vexel
