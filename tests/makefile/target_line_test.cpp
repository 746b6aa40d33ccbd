// Target names, dependency names and unquoting.
#include <gtest/gtest.h>

#include "makefile/target_line.h"

namespace vexel {
namespace {

const LeadByteSet NoLeadBytes{};

TEST(TargetLine, ExtractsTheTargetAndAppendsTheDependencyNames) {
    using Names = std::vector<std::string>;
    // Line, target, dependency names (appended to what the list holds).
    const std::tuple<std::string, std::string, Names> cases[] = {
        {"out:in", "", {"kept"}},
        {"out : in", "out", {"kept", "in"}},
        {"C:\\obj\\out.exe: in.c", "C:\\obj\\out.exe", {"kept", "in.c"}},
        {": in", "", {"kept", "in"}},
        {"out: ", "out", {"kept", ""}},
        {"\"a: b\": c", "\"a", {"kept", "b\":", "c"}},
        {"out: a\tb\tc", "out", {"kept", "a\tb\tc"}},
        {"out: a\t b \tc", "out", {"kept", "a", "b", "c"}},
        {"out: \"  a b\" c", "out", {"kept", "\"  a b\"", "c"}},
        {"out: \"a b\"c \"d\" e", "out", {"kept", "\"a b\"c \"d\"", "e"}},
        {"out: x \"a\"\"b c", "out", {"kept", "x", "\"a\"\"b c "}},
        {"out: 'a b'", "out", {"kept", "'a", "b'"}}};
    for (const auto& [line, target, names] : cases) {
        EXPECT_EQ(ExtractTarget(line, NoLeadBytes), target) << line;
        std::vector<DependName> depends;
        ExtractDepends(line, depends, NoLeadBytes);
        Names got{"kept"};
        for (const DependName& name : depends)
            got.push_back(name.Whole());
        EXPECT_EQ(got, names) << line;
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
    const std::pair<std::string, std::string> cases[] = {
        {"'it''s'", "it's"},  {"\"ab\"cd", "ab"}, {"abc", "abc"},       {"\"\"", "\"\""},
        {"\"a", "\"a"},       {"\"ab", "a"},      {"\"a b ", "a b"},    {"\"\"\"\"", "\""},
        {"\"\"\"", "\"\"\""}, {"'\"'", "\""},     {"a\"b\"", "a\"b\""}, {"\"\x81\"x\"", "\x81"}};
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(Unquote(name, NoLeadBytes), expected) << name;
    LeadByteSet lead{};
    lead[0x81] = true; // the quote after it is the second byte of a character
    EXPECT_EQ(Unquote("\"\x81\"x\"", lead), "\x81\"x");
}

} // namespace
} // namespace vexel
