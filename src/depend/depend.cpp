#include "depend/depend.h"

#include "makefile/target_line.h"

namespace vexel {

void TDepend::SetLine(std::string_view line, const LeadByteSet& leadBytes) {
    Line.assign(line);
    Target = ExtractTarget(line, leadBytes);
    ExtractDepends(line, Depends, leadBytes);
}

void TDepend::AddDependent(TDepend* dependent) {
    if (!Dependents) Dependents = std::make_shared<DependentList>();
    Dependents->push_back(dependent);
}

const DependentList& TDepend::DependentsList() const {
    static const DependentList none;
    return Dependents ? *Dependents : none;
}

void TDepend::SetStale(bool value) {
    Stale = value;
    // A depth-first walk with its own stack: a chain of dependents may be as
    // long as the makefile. A dependent that is already stale has its final
    // Level and is not entered again, so each record is walked once.
    struct Frame {
        TDepend* record;
        std::size_t next;
    };
    std::vector<Frame> stack{{this, 0}};
    while (!stack.empty()) {
        TDepend* record = stack.back().record;
        const DependentList& dependents = record->DependentsList();
        std::size_t& next = stack.back().next;
        if (next == dependents.size()) {
            stack.pop_back();
            continue;
        }
        TDepend* dependent = dependents[next];
        if (!dependent->Stale) {
            dependent->Stale = true;
            stack.push_back({dependent, 0});
            continue;
        }
        if (dependent->Level >= record->Level) record->Level = dependent->Level + 1;
        ++next;
    }
}

} // namespace vexel
