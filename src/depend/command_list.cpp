#include "depend/command_list.h"

#include "makefile/line_kind.h"

namespace vexel {

void CollectCommands(const DependList& dependList, const MakeLines& lines, CommandList& commands) {
    for (const auto& record : dependList) {
        if (record->CmdFirst == -1 || !record->Stale) continue;
        for (int32_t k = record->CmdFirst; k <= record->CmdLast; ++k) {
            const std::string_view line = lines[static_cast<std::size_t>(k)];
            if (IsRunInRange(line)) commands.push_back(line);
        }
    }
}

} // namespace vexel
