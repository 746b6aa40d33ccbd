// Target names, dependency names and unquoting.
#include <gtest/gtest.h>

#include "makefile/target_line.h"

namespace vexel {
namespace {

const LeadByteSet NoLeadBytes{};

TEST(TargetLine, ExtractsTheTargetAndAppendsTheDependencyNames) {
    using Names = std::vector<std::string>;
    struct Case {
        const char* name;
        std::string line;
        std::string target = "out"; // empty: no target
        Names names{};              // appended to what the list held
    };
    // clang-format off
    const Case cases[] = {
        {.name = "a blank before the colon", .line = "out : in", .names = {"in"}},
        {.name = "a drive letter", .line = "C:\\out: in.c", .target = "C:\\out", .names = {"in.c"}},
        {.name = "no target", .line = ": in", .target = "", .names = {"in"}},
        {.name = "quotes hide no colon", .line = "\"a: b\": c", .target = "\"a",
         .names = {"b\":", "c"}},
        {.name = "tabs alone part nothing", .line = "out: a\tb\tc", .names = {"a\tb\tc"}},
        {.name = "blanks part names", .line = "out: a\t b \tc", .names = {"a", "b", "c"}},
        {.name = "quotes keep blanks", .line = "out: \"  a b\" c", .names = {"\"  a b\"", "c"}},
        {.name = "on to the last quote", .line = "out: \"a b\"c \"d\" e",
         .names = {"\"a b\"c \"d\"", "e"}},
        {.name = "an open quote", .line = "out: x \"a\"\"b c", .names = {"x", "\"a\"\"b c "}},
        {.name = "single quotes group nothing", .line = "out: 'a b'", .names = {"'a", "b'"}}};
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractTarget(c.line, NoLeadBytes), c.target) << c.name;
        std::vector<DependName> depends{{.text = "kept"}};
        ExtractDepends(c.line, depends, NoLeadBytes);
        Names got;
        for (const DependName& name : depends)
            got.push_back(name.Whole());
        Names expected{"kept"};
        expected.insert(expected.end(), c.names.begin(), c.names.end());
        EXPECT_EQ(got, expected) << c.name;
    }
}

TEST(TargetLine, ABlankAfterAnOddRunOfLeadBytesIsTheSecondByteOfACharacter) {
    LeadByteSet lead{};
    lead[0x81] = true;
    std::vector<DependName> depends;
    ExtractDepends("out: a\x81\x81\x81 b c\x81\x81 d", depends, lead);
    std::vector<std::string> names;
    for (const DependName& name : depends)
        names.push_back(name.Whole());
    EXPECT_EQ(names, (std::vector<std::string>{"a\x81\x81\x81 b", "c\x81\x81", "d"}));
}

TEST(TargetLine, UnquotesForFileAccess) {
    struct Case {
        std::string written, file;
    };
    const Case cases[] = {
        {.written = "'it''s'", .file = "it's"},  {.written = "\"ab\"cd", .file = "ab"},
        {.written = "abc", .file = "abc"},       {.written = "\"\"", .file = "\"\""},
        {.written = "\"a", .file = "\"a"},       {.written = "\"ab", .file = "a"},
        {.written = "\"a b ", .file = "a b"},    {.written = "\"\"\"\"", .file = "\""},
        {.written = "\"\"\"", .file = "\"\"\""}, {.written = "'\"'", .file = "\""},
        {.written = "a\"b\"", .file = "a\"b\""}, {.written = "\"\x81\"x\"", .file = "\x81"}};
    for (const Case& c : cases)
        EXPECT_EQ(Unquote(c.written, NoLeadBytes), c.file) << c.written;
    LeadByteSet lead{};
    lead[0x81] = true; // the quote after it is the second byte of a character
    EXPECT_EQ(Unquote("\"\x81\"x\"", lead), "\x81\"x");
}

} // namespace
} // namespace vexel
