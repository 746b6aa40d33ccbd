#include "depend/staleness.h"

#include <string>

#include "base/name_table.h"
#include "depend/set_stale.h"
#include "makefile/target_line.h"

namespace vexel {

namespace {

// No command runs while stamps are read, so each file is asked once.
class StampCache {
public:
    StampCache(FileSystem& files, const LeadByteSet& leadBytes)
        : files_(files), leadBytes_(leadBytes) {}

    int32_t StampOf(std::string_view name) {
        // Only a name that begins with a quote can lose anything to Unquote.
        std::string unquoted;
        std::string_view path = name;
        if (!name.empty() && (name[0] == '"' || name[0] == '\'')) {
            unquoted = Unquote(name, leadBytes_);
            path = unquoted;
        }
        bool added = false;
        const auto number = static_cast<std::size_t>(paths_.Insert(path, added));
        if (added) stamps_.push_back(files_.FileAgeStamp(std::string(path)));
        return stamps_[number];
    }

private:
    FileSystem& files_;
    const LeadByteSet& leadBytes_;
    NameTable<std::string> paths_;
    std::vector<int32_t> stamps_; // by path number
};

} // namespace

void MarkStaleTargets(DependList& dependList, FileSystem& files, const LeadByteSet& leadBytes) {
    StampCache cache(files, leadBytes);
    const std::size_t count = dependList.size();
    for (std::size_t j = 1; j < count; ++j) {
        TDepend& record = *dependList[j];
        const int32_t targetStamp = cache.StampOf(record.Target);
        if (targetStamp == NoStamp) {
            SetStale(record);
            continue;
        }
        for (const std::string& name : record.Depends) {
            if (IsNewer(cache.StampOf(name), targetStamp)) {
                SetStale(record);
                break;
            }
        }
    }
}

} // namespace vexel
