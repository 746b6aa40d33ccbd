#include "depend/target_record.h"

namespace vexel {

DependList MakeDependList(const std::vector<TargetEntry>& entries) {
    DependList records;
    records.reserve(entries.size());
    for (const TargetEntry& entry : entries) {
        auto record = std::make_unique<TDepend>();
        static_cast<TargetEntry&>(*record) = entry;
        records.push_back(std::move(record));
    }
    if (!records.empty()) records.front()->Stale = true;
    return records;
}

} // namespace vexel
