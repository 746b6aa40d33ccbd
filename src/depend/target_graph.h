// The target graph: every record of the run, by value, with the names they
// use, and the links from each target to the records made from it.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "makefile/makefile_reader.h"
#include "os/platform.h"

namespace vexel {

class TargetGraph {
public:
    // A group of targets whose names match one another: a name that matches
    // one of them matches them all, so they have the same dependents.
    using Group = int;
    static constexpr Group NoGroup = -1;

    // Takes the records that were read, with their names, and fills the
    // Dependents of every target record: each record, once, whose
    // dependency names match its target by the system's rules. Each
    // distinct name is keyed once. The root
    // record is stale from the start: its commands run on every run that
    // gets to them. The names still view the makefile's text, which must
    // outlive the graph.
    TargetGraph(MakefileTargets read, NameRules& rules);
    TargetGraph(const TargetGraph&) = delete; // the records refer to one another
    TargetGraph& operator=(const TargetGraph&) = delete;

    // Every name of the run, as the reader left them.
    const MakefileNames& Names() const { return read_.names; }
    // Every record, the root record first, in makefile order.
    std::span<TDepend> Records() { return read_.records; }
    TDepend& Root() { return read_.records.front(); }
    // The records of the target lines, in makefile order.
    std::span<TDepend> Targets() { return Records().subspan(1); }
    // A list of every record, in makefile order.
    DependList MakefileOrder();

    // The group of a target record's name.
    Group GroupOf(const TDepend& record) const {
        return groupOfRecord_[static_cast<std::size_t>(&record - read_.records.data())];
    }
    std::size_t GroupCount() const { return linkStart_.size() - 1; }
    // The records whose dependency names match the targets of the group.
    std::span<TDepend* const> DependentsOf(Group group) const {
        const auto g = static_cast<std::size_t>(group);
        return std::span(links_).subspan(linkStart_[g], linkStart_[g + 1] - linkStart_[g]);
    }

private:
    void LinkDependents(NameRules& rules);

    // The records view its dependBlocks, and point at one another: taken by
    // moving, which leaves every element where it was, and never resized.
    MakefileTargets read_;
    std::vector<Group> groupOfRecord_;      // by record; NoGroup for the root record
    std::vector<std::size_t> linkStart_{0}; // by group, into links_
    std::vector<TDepend*> links_;           // each group's dependents, group after group
};

} // namespace vexel
