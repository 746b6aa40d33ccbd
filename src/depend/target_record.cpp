#include "depend/target_record.h"

namespace vexel {

DependList MakeDependList(std::vector<TargetEntry>&& entries) {
    DependList records;
    records.reserve(entries.size());
    for (TargetEntry& entry : entries) {
        auto record = std::make_unique<TDepend>();
        static_cast<TargetEntry&>(*record) = std::move(entry);
        records.push_back(std::move(record));
    }
    if (!records.empty()) records.front()->Stale = true;
    return records;
}

const DependentList& DependentsOf(const TDepend& record) {
    static const DependentList none;
    return record.Dependents ? *record.Dependents : none;
}

} // namespace vexel
