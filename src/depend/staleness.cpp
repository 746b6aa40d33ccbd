#include "depend/staleness.h"

#include <string>
#include <unordered_map>

#include "makefile/target_line.h"

namespace vexel {

namespace {

// No command runs while stamps are read, so each file is asked once.
class StampCache {
public:
    StampCache(FileSystem& files, const LeadByteSet& leadBytes)
        : files_(files), leadBytes_(leadBytes) {}

    int32_t StampOf(const std::string& name) {
        const std::string path = Unquote(name, leadBytes_);
        auto [entry, added] = stamps_.try_emplace(path, NoStamp);
        if (added) entry->second = files_.FileAgeStamp(path);
        return entry->second;
    }

private:
    FileSystem& files_;
    const LeadByteSet& leadBytes_;
    std::unordered_map<std::string, int32_t> stamps_;
};

} // namespace

void MarkStaleTargets(DependList& dependList, FileSystem& files, const LeadByteSet& leadBytes) {
    StampCache cache(files, leadBytes);
    const std::size_t count = dependList.size();
    for (std::size_t j = 1; j < count; ++j) {
        TDepend& record = *dependList[j];
        const int32_t targetStamp = cache.StampOf(record.Target);
        if (targetStamp == NoStamp) {
            record.SetStale(true);
            continue;
        }
        record.TargetAge = static_cast<double>(targetStamp);
        for (const std::string& name : record.Depends) {
            if (IsNewer(cache.StampOf(name), targetStamp)) {
                record.SetStale(true);
                break;
            }
        }
    }
}

void CollectCommands(const DependList& dependList, const MakeLines& lines, CommandList& commands) {
    for (const auto& record : dependList) {
        if (record->CmdFirst == -1 || !record->Stale) continue;
        for (int32_t k = record->CmdFirst; k <= record->CmdLast; ++k) {
            const std::string_view line = lines[static_cast<std::size_t>(k)];
            if (!line.empty() && line[0] == '#') continue;
            commands.push_back(line);
        }
    }
}

} // namespace vexel
