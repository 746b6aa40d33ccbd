#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "depend/build_order.h"
#include "depend/dependents_graph.h"
#include "depend/staleness.h"
#include "fake_platform.h"
#include "makefile/makefile_reader.h"

namespace vexel {
namespace {

using Names = std::vector<std::string>;

DependList Records(std::size_t count) {
    DependList records;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(std::make_unique<TDepend>());
    return records;
}

TEST(TDepend, StartsWithItsDefaults) {
    const TDepend r;
    EXPECT_TRUE(!r.Stale && r.Level == 0 && r.TargetAge == -1.0 && r.CmdFirst == -1 &&
                r.CmdLast == -1 && r.Target.empty() && r.Line.empty() && r.Depends.empty() &&
                r.DependentsList().empty());
}

TEST(TDepend, SetStaleGivesTheLongestChainAsLevel) {
    struct Case {
        const char* name;
        std::vector<std::vector<int>> dependents; // by record
        std::vector<int> marked;                  // direct SetStale calls, in order
        std::vector<int> levels;                  // -1: not stale
    };
    const Case cases[] = {
        {"lone", {{}}, {0}, {0}},
        {"chain from the top", {{}, {0}, {1}}, {2}, {0, 1, 2}},
        {"chain bottom-up", {{}, {0}, {1}}, {0, 1, 2}, {0, 1, 2}},
        {"middle of a chain", {{}, {0}, {1}}, {1}, {0, 1, -1}},
        {"diamond", {{}, {0}, {0}, {1, 2}}, {3}, {0, 1, 1, 2}},
        {"repeated entry", {{}, {0, 0}}, {1, 1}, {0, 1}},
        {"short link first", {{}, {2}, {0}, {0, 1}, {}}, {3}, {0, 2, 1, 3, -1}},
        {"short link marked first", {{}, {2}, {0}, {0, 1}}, {0, 2, 3}, {0, 2, 1, 3}},
    };
    for (const Case& c : cases) {
        DependList records = Records(c.dependents.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            for (int d : c.dependents[i])
                records[i]->AddDependent(records[static_cast<std::size_t>(d)].get());
        for (int m : c.marked)
            records[static_cast<std::size_t>(m)]->SetStale(true);
        std::vector<int> levels;
        for (const auto& r : records)
            levels.push_back(r->Stale ? r->Level : r->Level - 1); // fresh: Level stays 0
        EXPECT_EQ(levels, c.levels) << c.name;
    }
}

TEST(TDepend, SetStaleWalksAMillionLinkChain) {
    const std::size_t count = 1000000;
    DependList records = Records(count);
    for (std::size_t i = 1; i < count; ++i)
        records[i]->AddDependent(records[i - 1].get());
    records.back()->SetStale(true);
    EXPECT_EQ(records.back()->Level, static_cast<int32_t>(count - 1));
    EXPECT_EQ(records[count / 2]->Level, static_cast<int32_t>(count / 2));
    EXPECT_TRUE(records.front()->Stale);
    EXPECT_EQ(records.front()->Level, 0);
}

DependList Parse(const std::string& text, MessageWriter& out) {
    MakeLines lines;
    lines.Assign(text);
    DependList records;
    EXPECT_TRUE(ParseMakefile(lines, records, out, LeadByteSet{})) << text;
    return records;
}

// Runs the check; gives its output, or on success each record's target and
// the set of its dependents' targets.
std::string Check(const std::string& text) {
    FakePlatform platform;
    MessageWriter out(platform);
    DependList records = Parse(text, out);
    if (!CheckCircularAndLinkDependents(records, FakePlatform::AsciiLower, out))
        return platform.standardOutput;
    std::string result = platform.standardOutput;
    for (const auto& r : records) {
        std::set<std::string> names;
        for (const TDepend* d : r->DependentsList())
            names.insert(d->Target);
        result += r->Target + ":";
        for (const std::string& name : names)
            result += " " + name;
        result += "|";
    }
    return result;
}

TEST(CircularCheck, NamesTheFirstRecordOnACycleAndLinksDependents) {
    const std::pair<std::string, std::string> cases[] = {
        {"a: b\nb: a\n", "Vexel: Circular a dependency dropped.\r\n"},
        {"a: a\n", "Vexel: Circular a dependency dropped.\r\n"},
        {"X: x\n", "Vexel: Circular X dependency dropped.\r\n"},
        {"a: b\nb: c\nc: b\nd: ?\n", "Vexel: Circular b dependency dropped.\r\n"},
        {"\"q\": z\nx: A\nA: b\nb: a\n", "Vexel: Circular A dependency dropped.\r\n"},
        {"A: src\na: b\nb: A\n", "Vexel: Circular a dependency dropped.\r\n"},
        {"app: lib\nlib: src\n", ":|app:|lib: app|"},
        {"\"a\": b\nb: a\nc: \"A\"\n", ":|\"a\": c|b: \"a\"|c:|"},
        {"a: x\nb: y\n", ":|a:|b:|"},
        {"A: s\na: t\nuse: A\nall: use a A\n", ":|A: all use|a: all use|use: all|all:|"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Check(text), expected) << text;
}

// The check as the tool's design states it: a walk over the dependents that
// remembers visited names, repeated for every dependency name of a record.
struct LiteralCheck {
    const DependList& records;
    std::vector<std::set<const TDepend*>> dependents =
        std::vector<std::set<const TDepend*>>(records.size());

    static bool Contains(const Names& names, const std::string& name) {
        return std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return FakePlatform::AsciiLower(n) == FakePlatform::AsciiLower(name);
        });
    }
    bool Collect(std::size_t rec, Names& visited) {
        if (Contains(visited, records[rec]->Target)) return false;
        visited.push_back(records[rec]->Target);
        for (std::size_t j = 1; j < records.size(); ++j) {
            if (!Contains(records[j]->Depends, records[rec]->Target)) continue;
            dependents[rec].insert(records[j].get());
            Collect(j, visited);
        }
        return true;
    }
    // The index of the first record on a cycle, or 0 when none is.
    std::size_t FirstFailure() {
        for (std::size_t j = 1; j < records.size(); ++j) {
            for (const std::string& name : records[j]->Depends) {
                Names visited;
                Collect(j, visited);
                if (Contains(visited, name)) return j;
            }
        }
        return 0;
    }
};

TEST(CircularCheck, AgreesWithTheLiteralWalkOnRandomMakefiles) {
    const Names pool = {"a", "A", "b", "B", "c", "d", "\"a\"", "src", "x", "y", "z"};
    std::mt19937 random(20240607);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    int failures = 0, passes = 0;
    for (int round = 0; round < 600; ++round) {
        Names targets(pool.begin(), pool.begin() + 8); // no target is named x, y or z
        std::shuffle(targets.begin(), targets.end(), random);
        targets.resize(1 + pick(6));
        std::string text;
        for (const std::string& target : targets) {
            text += target + ":";
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
        MessageWriter out(platform);
        DependList records = Parse(text, out);
        LiteralCheck literal{records};
        const std::size_t failing = literal.FirstFailure();
        const bool ok = CheckCircularAndLinkDependents(records, FakePlatform::AsciiLower, out);
        ASSERT_EQ(ok, failing == 0) << text;
        (ok ? passes : failures)++;
        if (!ok) {
            EXPECT_EQ(platform.standardOutput,
                      "Vexel: Circular " + records[failing]->Target + " dependency dropped.\r\n")
                << text;
            continue;
        }
        for (std::size_t j = 0; j < records.size(); ++j) {
            const auto& list = records[j]->DependentsList();
            EXPECT_EQ(std::set<const TDepend*>(list.begin(), list.end()), literal.dependents[j])
                << text << "record " << j;
        }
    }
    EXPECT_GT(failures, 100);
    EXPECT_GT(passes, 100);
}

// A root record followed by one record per digit, named A, B, C, ..., with
// the digit as Level.
DependList LevelList(const std::string& levels) {
    DependList records = Records(levels.size() + 1);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        records[i + 1]->Target = std::string(1, static_cast<char>('A' + i));
        records[i + 1]->Level = levels[i] - '0';
    }
    return records;
}

std::vector<const TDepend*> Pointers(const DependList& records) {
    std::vector<const TDepend*> pointers;
    for (const auto& r : records)
        pointers.push_back(r.get());
    return pointers;
}

TEST(BuildOrder, SortsByLevelWithTheExchangeSortsOrderForEqualLevels) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},           {"0", "A"},     {"00", "BA"},   {"000", "CBA"},   {"0000", "CDAB"},
        {"00000", "DECAB"}, {"012", "CBA"}, {"210", "ABC"}, {"0101", "DBAC"}, {"1010", "CADB"}};
    for (const auto& [levels, expected] : cases) {
        DependList records = LevelList(levels);
        SortDependList(records);
        std::string order;
        for (const auto& r : records)
            order += r->Target;
        EXPECT_EQ(order, expected) << levels; // the root record, with no name, stays first
        EXPECT_EQ(records[0]->Target, "");
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

TEST(BuildOrder, AgreesWithTheNestedExchangeSortOnRandomLevels) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string levels(random() % 14, '0');
        for (char& level : levels)
            level = static_cast<char>('0' + random() % 4);
        DependList records = LevelList(levels);
        std::vector<const TDepend*> expected = Pointers(records);
        if (expected.size() > 1) { // a shorter list is left alone
            ASSERT_NO_THROW(LiteralSort(expected, 0, static_cast<long>(expected.size()) - 1));
        }
        SortDependList(records);
        ASSERT_EQ(Pointers(records), expected) << levels;
    }
}

// A packed local date and time, as the file system layer gives it.
int32_t Stamp(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
    const auto date = static_cast<uint32_t>((year - 1980) << 9 | month << 5 | day);
    const auto time = static_cast<uint32_t>(hour << 11 | minute << 5 | second / 2);
    return static_cast<int32_t>(date << 16 | time);
}

struct Analysis {
    Names order; // target, with "/" and Level when stale
    Names commands;
};

Analysis Analyse(FakePlatform& platform, const std::string& text) {
    MessageWriter out(platform);
    MakeLines lines;
    lines.Assign(text);
    DependList records;
    EXPECT_TRUE(ParseMakefile(lines, records, out, platform.leadBytes));
    EXPECT_TRUE(CheckCircularAndLinkDependents(records, FakePlatform::AsciiLower, out));
    MarkStaleTargets(records, platform, platform.leadBytes);
    SortDependList(records);
    CommandList commands;
    CollectCommands(records, lines, commands);
    Analysis analysis;
    for (const auto& r : records)
        analysis.order.push_back(r->Target + (r->Stale ? "/" + std::to_string(r->Level) : ""));
    analysis.commands.assign(commands.begin(), commands.end());
    return analysis;
}

TEST(Staleness, ComparesStampsAsUnsignedAndIgnoresMissingDependencies) {
    ASSERT_EQ(Stamp(2026, 12, 5, 20, 33, 48), 0x5D85A438);
    ASSERT_LT(Stamp(2050, 1, 1), 0);
    const std::optional<int32_t> none;
    const int32_t y2020 = Stamp(2020, 1, 1), y2021 = Stamp(2021, 1, 1), y2030 = Stamp(2030, 1, 1),
                  y2050 = Stamp(2050, 1, 1), y2051 = Stamp(2051, 1, 1),
                  two = Stamp(2020, 1, 1, 12, 0, 2); // two seconds after y2020
    struct Case {
        std::optional<int32_t> out, in;
        bool stale;
    };
    const Case cases[] = {{none, y2020, true},   {none, none, true},    {y2020, two, true},
                          {two, two, false},     {y2021, y2020, false}, {y2020, none, false},
                          {y2050, y2030, false}, {y2030, y2050, true},  {y2050, none, false},
                          {y2050, y2051, true}};
    for (const Case& c : cases) {
        FakePlatform platform;
        if (c.out) platform.stamps["my out"] = *c.out;
        if (c.in) platform.stamps["in"] = *c.in;
        const Analysis a = Analyse(platform, "\"my out\": x 'in'\n\tmake out\n");
        EXPECT_EQ(a.commands, c.stale ? Names{"\tmake out"} : Names{})
            << c.out.value_or(-1) << " " << c.in.value_or(-1);
    }
}

TEST(Staleness, WorkedExampleRunsRootLibThenApp) {
    FakePlatform platform;
    const Names byAge = {"notes", "doc", "lib", "app", "src"}; // oldest first
    for (std::size_t i = 0; i < byAge.size(); ++i)
        platform.stamps[byAge[i]] = Stamp(2020, 1, static_cast<int>(i) + 1);
    const Analysis a = Analyse(platform, "\techo begin\napp: lib\n\tlink app\nlib: src\n"
                                         "\tbuild lib\n\ndoc: notes\n\tmake doc\n");
    EXPECT_EQ(a.order, (Names{"/0", "lib/1", "doc", "app/0"}));
    EXPECT_EQ(a.commands, (Names{"\techo begin", "\tbuild lib", "\tlink app"}));
    for (const std::string& name : byAge) // once each, though lib is also app's dependency
        EXPECT_EQ(platform.stampQueries[name], 1) << name;
}

TEST(Staleness, CollectsCommandRangesOfStaleRecords) {
    struct Case {
        std::string text;
        Names commands;
    };
    const Case cases[] = {
        {"out: in\n\tc1\n\n#skip\n  # indented\n \t\n\tc2\n#after\n",
         {"\tc1", "", "  # indented", " \t", "\tc2"}},
        {"a: x\n\ta\nb: y\n\tb\n", {"\tb", "\ta"}},
        {"a: x\n", {}},
        {"\tfirst\n", {"\tfirst"}},
        {"", {}},
    };
    for (const Case& c : cases) {
        FakePlatform platform;
        EXPECT_EQ(Analyse(platform, c.text).commands, c.commands) << c.text;
    }
}

} // namespace
} // namespace vexel
