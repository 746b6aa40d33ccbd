#include "depend/command_list.h"

#include "makefile/line_kind.h"
#include "makefile/target_line.h"

namespace vexel {

void CollectCommands(const DependList& dependList, const MakeLines& lines,
                     const MakefileNames& names, const LeadByteSet& leadBytes,
                     CommandList& commands) {
    for (const auto& record : dependList) {
        if (record->CmdFirst == -1 || !record->Stale) continue;
        TargetCommands group;
        for (int32_t k = record->CmdFirst; k <= record->CmdLast; ++k) {
            const std::string_view line = lines[static_cast<std::size_t>(k)];
            if (IsRunInRange(line)) group.Lines.push_back(line);
        }
        if (group.Lines.empty()) continue;
        if (record->Target != NoName) group.TargetFile = Unquote(names[record->Target], leadBytes);
        commands.push_back(std::move(group));
    }
}

} // namespace vexel
