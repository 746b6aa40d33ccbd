#include "depend/command_list.h"

#include "makefile/line_kind.h"

namespace vexel {

void CollectCommands(const DependList& dependList, const MakeLines& lines,
                     const MakefileNames& names, CommandList& commands) {
    for (const auto& record : dependList) {
        if (record->CmdFirst == -1 || !record->Stale) continue;
        for (int32_t k = record->CmdFirst; k <= record->CmdLast; ++k) {
            if (!RunsAsCommand(lines[static_cast<std::size_t>(k)])) continue;
            const std::string_view file =
                record->Target != NoName ? names.FileName(record->Target) : std::string_view();
            commands.push_back({file, record->CmdFirst, record->CmdLast});
            break;
        }
    }
}

} // namespace vexel
