// Reading a makefile and analysing it: text rules, target lines, line ends,
// line classification, levels, the circular check, staleness and order.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "depend/build_order.h"
#include "depend/dependents_graph.h"
#include "depend/staleness.h"
#include "fake_platform.h"
#include "makefile/makefile_reader.h"
#include "makefile/target_line.h"
#include "makefile/text.h"

namespace vexel {
namespace {

const LeadByteSet NoLeadBytes{};
const std::size_t None = std::string_view::npos;

TEST(TargetLine, FindsSeparatorsExtractsNamesAndUnquotesThem) {
    LeadByteSet lead{}; // 0x81 to 0x9F and 0xE0 to 0xFC, as in a Japanese code page
    for (int byte = 0x81; byte <= 0xFC; ++byte)
        lead[byte] = byte <= 0x9F || byte >= 0xE0;
    EXPECT_EQ(Unquote("\"\x81\"x\"", lead), "\x81\"x");
    // Text, pattern, position with those lead bytes, position without.
    const std::tuple<std::string, std::string, std::size_t, std::size_t> patterns[] = {
        {"\x81: b: c", ": ", 4, 1},                   // ':' is the second byte of a character
        {"\x81\x81: b", ": ", 2, 2},                  // two lead bytes make one character
        {"\x81\x81\x81: b: c", ": ", 6, 3},           // an odd run: a second byte again
        {"x\x81 \x81\x81 y", " ", 5, 2},              // the run starts anew after a blank
        {std::string("a\0: b", 5), ": ", None, None}, // the text ends at NUL
        {"\x81\x81\x81\x81x", "\x81x", None, 3},      // a pattern that begins with a lead byte
        {"a: b", "", None, None}};
    for (const auto& [text, pattern, withLeadBytes, without] : patterns) {
        EXPECT_EQ(FindPattern(text, pattern, lead), withLeadBytes) << text;
        EXPECT_EQ(FindPattern(text, pattern, NoLeadBytes), without) << text;
    }
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
        Names got{"kept"};
        ExtractDepends(line, got, NoLeadBytes);
        EXPECT_EQ(got, names) << line;
    }
    const std::pair<std::string, std::string> quoted[] = {
        {"'it''s'", "it's"},  {"\"ab\"cd", "ab"}, {"abc", "abc"},       {"\"\"", "\"\""},
        {"\"a", "\"a"},       {"\"ab", "a"},      {"\"a b ", "a b"},    {"\"\"\"\"", "\""},
        {"\"\"\"", "\"\"\""}, {"'\"'", "\""},     {"a\"b\"", "a\"b\""}, {"\"\x81\"x\"", "\x81"}};
    for (const auto& [name, expected] : quoted)
        EXPECT_EQ(Unquote(name, NoLeadBytes), expected) << name;
}

TEST(MakeLines, SplitsAtEveryKindOfLineEnd) {
    const std::pair<std::string, std::string> cases[] = {{"a\r\nb", "a|b|"},
                                                         {"a\nb\n", "a|b|"},
                                                         {"a\rb\r", "a|b|"},
                                                         {"a\n\rb", "a||b|"},
                                                         {"a\r\rb", "a||b|"},
                                                         {"", ""},
                                                         {std::string("a\nb\0c\nd", 7), "a|b|"}};
    for (const auto& [text, expected] : cases) {
        MakeLines lines;
        lines.Assign(text);
        std::string got;
        for (std::size_t i = 0; i < lines.Count(); ++i)
            got.append(lines[i]).append("|");
        EXPECT_EQ(got, expected) << testing::PrintToString(text);
    }
}

// The records of a makefile; whether it parsed shows in what was printed.
DependList Parse(FakePlatform& platform, const std::string& text) {
    MessageWriter out(platform);
    MakeLines lines;
    lines.Assign(text);
    DependList records;
    const bool parsed = ParseMakefile(lines, records, out, NoLeadBytes);
    EXPECT_EQ(parsed, platform.standardOutput.empty()) << text;
    return records;
}

TEST(ParseMakefile, ClassifiesLinesAndStopsAtTheFirstBadTargetLine) {
    // Makefile, output, each record as "target CmdFirst..CmdLast|".
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"\n  \n# c\n  # c\n", "", " -1..-1|"},
        {"\tpre\n\tpre2\napp: lib\n", "", " 0..1|app -1..-1|"},
        {"app: lib\n\n# c\n\tone\n\n#x\n \t# y\n\ttwo\n\n# z\n\t\n", "", " -1..-1|app 3..10|"},
        {"a: b\n\t#no comment\n \tc: d\n\tx\nout: a#b\n", "", " -1..-1|a 1..1|c 3..3|out -1..-1|"},
        {"a: b\n\tx\nc: d\nbad line\ne: f\n", "Vexel: Target Line Syntax error\r\n",
         " -1..-1|a 1..1|c -1..-1|"}};
    for (const auto& [text, output, ranges] : cases) {
        FakePlatform platform;
        std::string got;
        for (const auto& r : Parse(platform, text))
            got += r->Target + " " + std::to_string(r->CmdFirst) + ".." +
                   std::to_string(r->CmdLast) + "|";
        EXPECT_EQ(platform.standardOutput + got, output + ranges) << text;
    }
}

DependList Records(std::size_t count) {
    DependList records;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(std::make_unique<TDepend>());
    return records;
}

TEST(TDepend, SetStaleGivesTheLongestChainAsLevel) {
    using Ints = std::vector<int>;
    // Dependents by record, direct SetStale calls in order, levels (-1: not stale).
    const std::tuple<std::vector<Ints>, Ints, Ints> cases[] = {
        {{{}, {0}, {1}}, {2}, {0, 1, 2}},
        {{{}, {0}, {1}}, {1}, {0, 1, -1}},
        {{{}, {0}, {0}, {1, 2}}, {3}, {0, 1, 1, 2}},
        {{{}, {2}, {0}, {0, 1}, {}}, {3}, {0, 2, 1, 3, -1}}, // the short link comes first
        {{{}, {2}, {0}, {0, 1}}, {0, 2, 3}, {0, 2, 1, 3}}};
    for (const auto& [dependents, marked, expected] : cases) {
        DependList records = Records(dependents.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            for (int d : dependents[i])
                records[i]->AddDependent(records[static_cast<std::size_t>(d)].get());
        for (int m : marked)
            records[static_cast<std::size_t>(m)]->SetStale(true);
        Ints levels;
        for (const auto& r : records)
            levels.push_back(r->Stale ? r->Level : r->Level - 1); // fresh: Level stays 0
        EXPECT_EQ(levels, expected) << testing::PrintToString(dependents);
    }
    const std::size_t count = 1000000; // a chain that must not exhaust the stack
    DependList chain = Records(count);
    for (std::size_t i = 1; i < count; ++i)
        chain[i]->AddDependent(chain[i - 1].get());
    chain.back()->SetStale(true);
    EXPECT_EQ(chain.back()->Level, static_cast<int32_t>(count - 1));
    EXPECT_TRUE(chain.front()->Stale && chain.front()->Level == 0);
}

std::string Lower(std::string_view view) {
    std::string name(view);
    for (char& c : name)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return name;
}

// The check as the tool's design states it: a walk over the dependents that
// remembers visited names, repeated for every dependency name of a record.
struct LiteralCheck {
    const DependList& records;
    std::map<const TDepend*, std::set<const TDepend*>> dependents;

    static bool Contains(const std::vector<std::string>& names, const std::string& name) {
        return std::ranges::any_of(names, [&](const auto& n) { return Lower(n) == Lower(name); });
    }
    void Collect(std::size_t rec, std::vector<std::string>& visited) {
        if (Contains(visited, records[rec]->Target)) return;
        visited.push_back(records[rec]->Target);
        for (std::size_t j = 1; j < records.size(); ++j) {
            if (!Contains(records[j]->Depends, records[rec]->Target)) continue;
            dependents[records[rec].get()].insert(records[j].get());
            Collect(j, visited);
        }
    }
    // The index of the first record on a cycle, or 0 when none is.
    std::size_t FirstFailure() {
        for (std::size_t j = 1; j < records.size(); ++j) {
            for (const std::string& name : records[j]->Depends) {
                std::vector<std::string> visited;
                Collect(j, visited);
                if (Contains(visited, name)) return j;
            }
        }
        return 0;
    }
};

TEST(CircularCheck, AgreesWithTheLiteralWalkOnRandomMakefiles) {
    std::vector<std::string> pool = {"a", "A", "b", "B", "c", "d", "\"a\"", "src", "x", "y", "z"};
    std::mt19937 random(20240607);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    for (int round = 0; round < 600; ++round) {
        std::shuffle(pool.begin(), pool.begin() + 8, random); // no target is named x, y or z
        std::string text;
        for (std::size_t t = 0, count = 1 + pick(6); t < count; ++t) {
            text += pool[t] + ":";
            for (std::size_t n = 1 + pick(3); n > 0; --n)
                text += " " + pool[pick(pool.size())];
            text += "\n";
        }
        // Now and then more names than the tool's tables start with; with
        // links only to later targets there is no cycle.
        for (std::size_t i = 0; round % 20 == 0 && i < 100; ++i) {
            const std::size_t later = round % 40 == 0 ? i + 1 + pick(20) : pick(120);
            text += "n" + std::to_string(i) + ": " + (pick(2) ? "N" : "n") + std::to_string(later) +
                    " n" + std::to_string(i + 1 + pick(30)) + "\n";
        }
        FakePlatform platform;
        DependList records = Parse(platform, text);
        LiteralCheck literal{records, {}};
        const std::size_t failing = literal.FirstFailure();
        MessageWriter out(platform);
        const bool ok = CheckCircularAndLinkDependents(records, Lower, out);
        ASSERT_EQ(ok, failing == 0) << text;
        const std::string circular = "Vexel: Circular " + records[failing]->Target;
        EXPECT_EQ(platform.standardOutput, ok ? "" : circular + " dependency dropped.\r\n") << text;
        std::map<const TDepend*, std::set<const TDepend*>> linked;
        for (const auto& r : records)
            for (const TDepend* d : r->DependentsList())
                linked[r.get()].insert(d);
        EXPECT_TRUE(!ok || linked == literal.dependents) << text;
    }
}

// The exchange sort written plainly, with a nested call; at() fails the test
// if a scan ever leaves the list.
void LiteralSort(std::vector<const TDepend*>& list, long left, long right) {
    long i;
    do {
        i = left;
        long j = right;
        const TDepend* pivot = list[(left + right) / 2];
        do {
            while (CompareDepends(*list.at(i), *pivot) < 0)
                ++i;
            while (CompareDepends(*list.at(j), *pivot) > 0)
                --j;
            if (i <= j) std::swap(list[i++], list[j--]);
        } while (i <= j);
        if (left < j) LiteralSort(list, left, j);
        left = i;
    } while (i < right);
}

// The records' names in list order, "|" for the root record.
std::string Order(const auto& records) {
    std::string order;
    for (const auto& r : records)
        order += r->Target.empty() ? "|" : r->Target;
    return order;
}

TEST(BuildOrder, SortsLikeTheNestedExchangeSort) {
    // Levels of records A, B, C, ... after the root record; their order
    // (random lists have none written here).
    std::vector<std::pair<std::string, std::string>> cases = {
        {"0", "|A"},     {"00", "|BA"},   {"000", "|CBA"},   {"0000", "|CDAB"}, {"00000", "|DECAB"},
        {"012", "|CBA"}, {"210", "|ABC"}, {"0101", "|DBAC"}, {"1010", "|CADB"}};
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string levels(1 + random() % (round < 1800 ? 13 : 400), '0');
        for (char& level : levels)
            level = static_cast<char>('0' + random() % (round % 2 ? 4 : 40));
        cases.emplace_back(levels, "");
    }
    // Descending then ascending Levels: scanning would be quadratic, so the
    // sort takes its searching path.
    std::string valley;
    for (int i = 0; i < 1500; ++i)
        valley += static_cast<char>('0' + std::abs(i - 750) / 4);
    cases.emplace_back(valley, "");
    for (const auto& [levels, expected] : cases) {
        DependList records = Records(levels.size() + 1), searched = Records(levels.size() + 1);
        std::vector<const TDepend*> literal{records[0].get()};
        for (std::size_t i = 1; i < records.size(); ++i) {
            records[i]->Target = searched[i]->Target =
                i <= 26 ? std::string(1, static_cast<char>('A' + i - 1)) : std::to_string(i) + ",";
            records[i]->Level = searched[i]->Level =
                static_cast<unsigned char>(levels[i - 1]) - '0';
            literal.push_back(records[i].get());
        }
        ASSERT_NO_THROW(LiteralSort(literal, 0, static_cast<long>(literal.size()) - 1));
        SortDependList(records);
        SortDependListBySearching(searched);
        ASSERT_EQ(Order(records), Order(literal)) << levels;
        ASSERT_EQ(Order(searched), Order(literal)) << levels;
        EXPECT_EQ(Order(literal), expected.empty() ? Order(literal) : expected) << levels;
    }
}

TEST(Staleness, ComparesStampsAsUnsignedAndAsksEachFileOnce) {
    using Asked = std::map<std::string, int>;
    // 1 January 2030, 2050 and 2051, 12:00, packed; from 2044 on a stamp is negative.
    const int32_t y2030 = 0x64216000, y2050 = static_cast<int32_t>(0x8C216000u),
                  y2051 = static_cast<int32_t>(0x8E216000u);
    // Stamps of "my out" and "in" (-1: missing), then whether "my out" is stale.
    const std::tuple<int32_t, int32_t, bool> cases[] = {{y2050, y2030, false}, {y2030, y2050, true},
                                                        {y2050, -1, false},    {y2050, y2051, true},
                                                        {y2051, y2050, false}, {-1, -1, true}};
    for (const auto& [out, in, stale] : cases) {
        FakePlatform platform;
        DependList records = Parse(platform, "\"my out\": x 'in' in \"in\"\nmy out: in\n");
        platform.stamps = {{"my out", out}, {"in", in}};
        MarkStaleTargets(records, platform, NoLeadBytes);
        EXPECT_EQ(records[1]->Stale, stale) << out << " " << in;
        // Each file once, by its unquoted name.
        EXPECT_EQ(platform.stampQueries,
                  (out == -1 ? Asked{{"my out", 1}} : Asked{{"in", 1}, {"my out", 1}, {"x", 1}}));
    }
}

} // namespace
} // namespace vexel
