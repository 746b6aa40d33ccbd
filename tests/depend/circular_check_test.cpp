// The dependents and the circular check, against the literal walk.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "depend/circular_check.h"
#include "depend/graph_of_makefile.h"
#include "fakes/fake_platform.h"
#include "report/messages.h"

namespace vexel {
namespace {

// The check as the tool's design states it: a walk over the dependents that
// remembers visited names, repeated for every dependency name of a record.
struct LiteralCheck {
    GraphOfMakefile& g;
    std::span<const TDepend> records = g.graph->Records();
    std::map<const TDepend*, std::set<const TDepend*>> dependents;

    std::string Key(NameId name) const {
        std::string key;
        FakeNames().MatchKey(g.Name(name), key);
        return key;
    }
    bool Contains(const auto& list, NameId name) const {
        return std::ranges::any_of(list, [&](NameId n) { return Key(n) == Key(name); });
    }
    void Collect(std::size_t rec, std::vector<NameId>& visited) {
        if (Contains(visited, records[rec].Target)) return;
        visited.push_back(records[rec].Target);
        for (std::size_t j = 1; j < records.size(); ++j) {
            if (!Contains(records[j].Depends, records[rec].Target)) continue;
            dependents[&records[rec]].insert(&records[j]);
            Collect(j, visited);
        }
    }
    // The first record on a cycle, or null when none is.
    const TDepend* FirstFailure() {
        for (std::size_t j = 1; j < records.size(); ++j) {
            for (const NameId name : records[j].Depends) {
                std::vector<NameId> visited;
                Collect(j, visited);
                if (Contains(visited, name)) return &records[j];
            }
        }
        return nullptr;
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
            text.append("n").append(std::to_string(i)).append(pick(2) ? ": N" : ": n");
            text.append(std::to_string(later)).append(" n");
            text.append(std::to_string(i + 1 + pick(30))).append("\n");
        }
        GraphOfMakefile g(text);
        LiteralCheck literal{g, g.graph->Records(), {}};
        const TDepend* failing = literal.FirstFailure();
        const std::optional<Failure> circular = CheckCircular(*g.graph);
        ASSERT_EQ(circular.has_value(), failing != nullptr) << text;
        if (failing) {
            ASSERT_EQ(circular->messages,
                      std::vector<std::string>{messages::Circular(g.Name(failing->Target))})
                << text;
        }
        std::map<const TDepend*, std::set<const TDepend*>> linked;
        for (const TDepend& r : g.graph->Records())
            for (const TDepend* d : r.Dependents)
                linked[&r].insert(d);
        EXPECT_TRUE(failing != nullptr || linked == literal.dependents) << text;
    }
}

} // namespace
} // namespace vexel
