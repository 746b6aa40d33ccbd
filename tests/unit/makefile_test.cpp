#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_platform.h"
#include "makefile/make_lines.h"
#include "makefile/makefile_reader.h"
#include "makefile/target_line.h"
#include "makefile/text.h"

namespace vexel {
namespace {

using Names = std::vector<std::string>;
const LeadByteSet NoLeadBytes{};
const std::size_t None = std::string_view::npos;

// Lead bytes 0x81 to 0x9F and 0xE0 to 0xFC, as in a Japanese code page.
LeadByteSet JapaneseLeadBytes() {
    LeadByteSet set{};
    for (int byte = 0x81; byte <= 0xFC; ++byte)
        set[byte] = byte <= 0x9F || byte >= 0xE0;
    return set;
}

TEST(Text, TrimRemovesBytesUpTo32FromTheEnds) {
    EXPECT_EQ(Trim(std::string("\0\x01 \ta b\x7f\t\r\n ", 12)), "a b\x7f");
    EXPECT_EQ(Trim("\x80 x \xff"), "\x80 x \xff");
    EXPECT_EQ(Trim(" \t\x1f "), "");
    EXPECT_EQ(LeftTrim(" \ta b \t"), "a b \t");
}

TEST(Text, FindPatternSkipsSecondBytesOfDoubleByteCharacters) {
    struct Case {
        std::string text, pattern;
        std::size_t withLeadBytes, without;
    };
    const Case cases[] = {
        {"a: b: c", ": ", 1, 1},
        {"\x81: b: c", ": ", 4, 1},                   // ':' is the second byte of a character
        {"\x81\x81: b", ": ", 2, 2},                  // two lead bytes make one character
        {"\x81\x81\x81: b: c", ": ", 6, 3},           // an odd run: a second byte again
        {"x\x81 \x81\x81 y", " ", 5, 2},              // the run starts anew after a blank
        {std::string("a\0: b", 5), ": ", None, None}, // the text ends at NUL
        {"\x81\x81\x81\x81x", "\x81x", None, 3},      // a pattern that begins with a lead byte
        {"\x81\x81\x81x", "\x81x", 2, 2},
        {std::string("\0\x81x", 3), "\x81x", None, None},
        {"", ": ", None, None},
        {"a: b", "", None, None},
    };
    const LeadByteSet lead = JapaneseLeadBytes();
    for (const Case& c : cases) {
        EXPECT_EQ(FindPattern(c.text, c.pattern, lead), c.withLeadBytes) << c.text;
        EXPECT_EQ(FindPattern(c.text, c.pattern, NoLeadBytes), c.without) << c.text;
    }
}

TEST(TargetLine, ExtractsTargetAndDependencyNames) {
    struct Case {
        std::string line, target;
        Names names;
    };
    const Case cases[] = {
        {"out:", "", {}},
        {"out:in", "", {}},
        {"out : in", "out", {"in"}},
        {"C:\\obj\\out.exe: in.c", "C:\\obj\\out.exe", {"in.c"}},
        {"my out: in", "my out", {"in"}},
        {": in", "", {"in"}},
        {"out: ", "out", {""}},
        {"\"my out\": in", "\"my out\"", {"in"}},
        {"\"a: b\": c", "\"a", {"b\":", "c"}},
        {"out: a    b", "out", {"a", "b"}},
        {"out: a b c", "out", {"a", "b", "c"}},
        {"out: a\tb\tc", "out", {"a\tb\tc"}},
        {"out: a\t b \tc", "out", {"a", "b", "c"}},
        {"out: \"a b\" c", "out", {"\"a b\"", "c"}},
        {"out: \"a b\"c d", "out", {"\"a b\"c d "}},
        {"out: \"a b\"c \"d\" e", "out", {"\"a b\"c \"d\"", "e"}},
        {"out: x \"a\"\"b c", "out", {"x", "\"a\"\"b c "}},
        {"out: 'a b'", "out", {"'a", "b'"}},
        {"out: a: b", "out", {"a:", "b"}},
        {"out: a#b c", "out", {"a#b", "c"}},
        {"out: \"  a b\" c", "out", {"\"  a b\"", "c"}},
        {"out: \" c", "out", {"\" c "}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractTarget(c.line, NoLeadBytes), c.target) << c.line;
        Names names{"kept"};
        ExtractDepends(c.line, names, NoLeadBytes);
        Names expected{"kept"};
        expected.insert(expected.end(), c.names.begin(), c.names.end());
        EXPECT_EQ(names, expected) << c.line;
    }
}

TEST(TargetLine, DoubleByteCharactersNeverSeparate) {
    const LeadByteSet lead = JapaneseLeadBytes();
    EXPECT_EQ(ExtractTarget("\x81: x", lead), "");
    EXPECT_EQ(ExtractTarget("a\x81: b: c", lead), "a\x81: b");
    Names names;
    ExtractDepends("out: a\x81 b \x81", names, lead);
    EXPECT_EQ(names, (Names{"a\x81 b", "\x81 "}));
    EXPECT_EQ(Unquote("\"\x81\"x\"", lead), "\x81\"x");
    EXPECT_EQ(Unquote("\"\x81\"x\"", NoLeadBytes), "\x81");
}

TEST(TargetLine, UnquoteGivesTheNameForFileAccess) {
    const std::pair<std::string, std::string> cases[] = {{"\"a b\"", "a b"},
                                                         {"'a b'", "a b"},
                                                         {"\"a\"\"b\"", "a\"b"},
                                                         {"'it''s'", "it's"},
                                                         {"\"ab\"cd", "ab"},
                                                         {"abc", "abc"},
                                                         {"", ""},
                                                         {"\"\"", "\"\""},
                                                         {"''", "''"},
                                                         {"\"a", "\"a"},
                                                         {"\"ab", "a"},
                                                         {"\"a b ", "a b"},
                                                         {"\"\"\"\"", "\""},
                                                         {"\"\"\"", "\"\"\""},
                                                         {"'\"'", "\""},
                                                         {"a\"b\"", "a\"b\""},
                                                         {"\"a\"\"b c ", "a\"b c"}};
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(Unquote(name, NoLeadBytes), expected) << name;
}

TEST(MakeLines, SplitsAtEveryKindOfLineEnd) {
    const std::pair<std::string, Names> cases[] = {{"a\r\nb\r\n", {"a", "b"}},
                                                   {"a\nb\n", {"a", "b"}},
                                                   {"a\rb\r", {"a", "b"}},
                                                   {"a\n\rb", {"a", "", "b"}},
                                                   {"a\r\rb", {"a", "", "b"}},
                                                   {"a\r\n\nb", {"a", "", "b"}},
                                                   {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
                                                   {"a", {"a"}},
                                                   {"\r\n", {""}},
                                                   {"\n\n", {"", ""}},
                                                   {"", {}},
                                                   {std::string("\0ab", 3), {}},
                                                   {std::string("a\nb\0c\nd", 7), {"a", "b"}}};
    for (const auto& [text, expected] : cases) {
        MakeLines lines;
        lines.Assign(text);
        Names got;
        for (std::size_t i = 0; i < lines.Count(); ++i)
            got.emplace_back(lines[i]);
        EXPECT_EQ(got, expected) << testing::PrintToString(text);
    }
}

// The output of ParseMakefile, and each record as "target CmdFirst..CmdLast|".
std::pair<std::string, std::string> Parse(const std::string& text) {
    FakePlatform platform;
    MakeLines lines;
    lines.Assign(text);
    MessageWriter out(platform);
    DependList records;
    const bool ok = ParseMakefile(lines, records, out, NoLeadBytes);
    EXPECT_EQ(ok, platform.standardOutput.empty()) << text;
    EXPECT_TRUE(records[0]->Stale && records[0]->Level == 0);
    std::string ranges;
    for (const auto& r : records)
        ranges +=
            r->Target + " " + std::to_string(r->CmdFirst) + ".." + std::to_string(r->CmdLast) + "|";
    return {platform.standardOutput, ranges};
}

TEST(ParseMakefile, ClassifiesLinesAndStopsAtTheFirstBadTargetLine) {
    const std::string syntax = "Vexel: Target Line Syntax error\r\n";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"", "", " -1..-1|"},
        {"\n  \n# c\n  # c\n", "", " -1..-1|"},
        {"\tpre\n\tpre2\napp: lib\n", "", " 0..1|app -1..-1|"},
        {"app: lib\n\n# c\n\tone\n\n#x\n \t# y\n\ttwo\n\n# z\n\t\n", "", " -1..-1|app 3..10|"},
        {"a: b\n\t#no comment\n \tc: d\n\tx\nout: a#b\n", "", " -1..-1|a 1..1|c 3..3|out -1..-1|"},
        {"a: x\nA: y\n\"a\": z\n", "", " -1..-1|a -1..-1|A -1..-1|\"a\" -1..-1|"},
        {"a: b\n\tx\nc: d\nbad line\ne: f\n", syntax, " -1..-1|a 1..1|c -1..-1|"},
        {"a: b\n \tcmd\n", syntax, " -1..-1|a -1..-1|"},
        {"a:\n", syntax, " -1..-1|"},
        {" : b\n", syntax, " -1..-1|"},
        {"a: x\nA: y\n\"a\": z\na: w\n", "Vexel: Dup Target a\r\n",
         " -1..-1|a -1..-1|A -1..-1|\"a\" -1..-1|"},
        {"\"my a\": x\n\"my a\": x\n", "Vexel: Dup Target \"my a\"\r\n",
         " -1..-1|\"my a\" -1..-1|"},
        {"  dup :  x \ndup: y\nnever\n", "Vexel: Dup Target dup\r\n", " -1..-1|dup -1..-1|"},
    };
    for (const auto& [text, output, ranges] : cases)
        EXPECT_EQ(Parse(text), std::make_pair(output, ranges)) << text;

    std::string many; // more targets than the duplicate check's table starts with
    for (int i = 0; i < 300; ++i)
        many.append("t").append(std::to_string(i)).append(": s\n");
    const auto [output, ranges] = Parse(many + "T7: s\nt7: s\n");
    EXPECT_EQ(output, "Vexel: Dup Target t7\r\n");
    EXPECT_EQ(std::count(ranges.begin(), ranges.end(), '|'), 302);
}

} // namespace
} // namespace vexel
