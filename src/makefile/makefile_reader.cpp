#include "makefile/makefile_reader.h"

#include <exception>
#include <string_view>

#include "base/name_table.h"
#include "makefile/line_kind.h"
#include "makefile/target_line.h"

namespace vexel {

bool LoadMakefile(FileSystem& files, const std::string& fileName, MakeLines& lines) {
    // A makefile too large for the memory at hand is one that cannot be
    // read, like any other.
    try {
        std::string text;
        if (!files.ReadWholeFile(fileName, text)) return false;
        lines.Assign(std::move(text));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

ReadOutcome ReadTargets(const MakeLines& lines, const LeadByteSet& leadBytes,
                        std::vector<TargetEntry>& entries) {
    entries.emplace_back();
    std::size_t current = entries.size() - 1;

    // Targets accepted so far, byte for byte, as views into the lines.
    NameTable<std::string_view> targets;

    const std::size_t count = lines.Count();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line = lines[i];
        switch (ClassifyLine(line)) {
        case LineKind::Command: {
            const auto index = static_cast<int32_t>(i);
            if (entries[current].CmdFirst == -1) entries[current].CmdFirst = index;
            entries[current].CmdLast = index;
            break;
        }
        case LineKind::Ignored:
            break;
        case LineKind::Target: {
            const std::string_view trimmed = Trim(line);
            const std::string_view target = ExtractTarget(trimmed, leadBytes);
            if (target.empty()) return {ReadError::TargetLineSyntax, {}};
            bool added = false;
            targets.Insert(target, added);
            if (!added) return {ReadError::DupTarget, std::string(target)};
            TargetEntry& entry = entries.emplace_back();
            entry.Target.assign(target);
            ExtractDepends(trimmed, entry.Depends, leadBytes);
            current = entries.size() - 1;
            break;
        }
        }
    }
    return {};
}

} // namespace vexel
