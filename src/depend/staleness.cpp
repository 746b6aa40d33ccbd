#include "depend/staleness.h"

#include <string>
#include <vector>

#include "depend/set_stale.h"
#include "depend/stamp_fetch.h"
#include "makefile/target_line.h"

namespace vexel {

namespace {

// The file each name stands for, numbered in the order first met: the name
// itself, or the unquoted text of a name that begins with a quote. Names
// that unquote alike share one file.
class FileSlots {
public:
    FileSlots(MakefileNames& names, const LeadByteSet& leadBytes)
        : names_(names), leadBytes_(leadBytes),
          slotOfName_(static_cast<std::size_t>(names.Count()), -1) {}

    int32_t SlotOf(NameId name) {
        int32_t& slot = slotOfName_[name];
        if (slot == -1) slot = SlotOfFile(name);
        return slot;
    }

    // The name of each file, by slot.
    const std::vector<NameId>& Paths() const { return paths_; }

private:
    int32_t SlotOfFile(NameId name) {
        const std::string_view text = names_[name];
        const NameId file = !text.empty() && (text[0] == '"' || text[0] == '\'')
                                ? names_.AddCopy(Unquote(text, leadBytes_))
                                : name;
        if (static_cast<std::size_t>(file) >= slotOfFile_.size())
            slotOfFile_.resize(static_cast<std::size_t>(names_.Count()), -1);
        int32_t& slot = slotOfFile_[file];
        if (slot == -1) {
            slot = static_cast<int32_t>(paths_.size());
            paths_.push_back(file);
        }
        return slot;
    }

    MakefileNames& names_;
    const LeadByteSet& leadBytes_;
    std::vector<int32_t> slotOfName_; // by name id; -1 until met
    std::vector<int32_t> slotOfFile_; // by the file's name id
    std::vector<NameId> paths_;
};

} // namespace

void MarkStaleTargets(TargetGraph& graph, FileSystem& files, const LeadByteSet& leadBytes,
                      unsigned threads) {
    MakefileNames& names = graph.Names();
    // No command runs while stamps are read, so each file is asked once, all
    // of them before the marking, which only reads the answers.
    FileSlots slots(names, leadBytes);
    for (const TDepend& record : graph.Targets()) {
        slots.SlotOf(record.Target);
        for (const NameId name : record.Depends)
            slots.SlotOf(name);
    }
    const std::vector<AgeStamp> stamps = FetchStamps(files, names, slots.Paths(), threads);

    for (TDepend& record : graph.Targets()) {
        const AgeStamp& targetStamp = stamps[slots.SlotOf(record.Target)];
        if (!targetStamp.HasTime()) {
            SetStale(record);
            continue;
        }
        for (const NameId name : record.Depends) {
            if (stamps[slots.SlotOf(name)].IsLaterThan(targetStamp)) {
                SetStale(record);
                break;
            }
        }
    }
}

} // namespace vexel
