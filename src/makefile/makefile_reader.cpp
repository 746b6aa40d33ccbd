#include "makefile/makefile_reader.h"

#include <stdexcept>
#include <string_view>

#include "makefile/name_table.h"
#include "makefile/text.h"

namespace vexel {

void LoadMakefile(FileSystem& files, const std::string& fileName, MakeLines& lines) {
    std::string text;
    if (!files.ReadWholeFile(fileName, text)) throw std::runtime_error("makefile not read");
    lines.Assign(std::move(text));
}

bool ParseMakefile(const MakeLines& lines, DependList& dependList, MessageWriter& out,
                   const LeadByteSet& leadBytes) {
    auto root = std::make_unique<TDepend>();
    root->SetStale(true);
    TDepend* current = root.get();
    dependList.push_back(std::move(root));

    // Targets accepted so far, byte for byte; the views point into records
    // that the list owns and never moves.
    NameTable<std::string_view> targets;

    const std::size_t count = lines.Count();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line = lines[i];
        if (!line.empty() && line[0] == '\t') {
            const auto index = static_cast<int32_t>(i);
            if (current->CmdFirst == -1) current->CmdFirst = index;
            current->CmdLast = index;
            continue;
        }
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;

        auto record = std::make_unique<TDepend>();
        record->SetLine(trimmed, leadBytes);
        if (record->Target.empty()) {
            out.PrintMessage("Target Line Syntax error");
            return false;
        }
        bool added = false;
        targets.Insert(record->Target, added);
        if (!added) {
            out.PrintMessage("Dup Target " + record->Target);
            return false;
        }
        current = record.get();
        dependList.push_back(std::move(record));
    }
    return true;
}

} // namespace vexel
