#include "makefile/makefile_reader.h"

#include <exception>
#include <string_view>

#include "makefile/line_kind.h"
#include "makefile/target_line.h"
#include "report/messages.h"

namespace vexel {

std::optional<Failure> LoadMakefile(FileSystem& files, const std::string& fileName,
                                    MakeLines& lines) {
    // A makefile too large for the memory at hand is one that cannot be
    // read, like any other.
    try {
        std::string text;
        if (files.ReadWholeFile(fileName, text)) {
            lines.Assign(std::move(text));
            return std::nullopt;
        }
    } catch (const std::exception&) {
    }
    return Failure(messages::MakeFileOpenError);
}

std::optional<Failure> ReadTargets(const MakeLines& lines, const LeadByteSet& leadBytes,
                                   MakefileTargets& targets) {
    std::vector<TargetEntry>& entries = targets.entries;
    entries.emplace_back();
    std::size_t current = 0;
    // Where each entry's names start in dependNames: that list still grows,
    // so the entries get their views of it at the end.
    std::vector<std::size_t> dependStart{0};
    std::vector<bool> isTarget; // by name id
    std::vector<DependName> depends;

    auto finish = [&](std::optional<Failure> outcome) {
        dependStart.push_back(targets.dependNames.size());
        const std::span<const NameId> all(targets.dependNames);
        for (std::size_t e = 0; e < entries.size(); ++e)
            entries[e].Depends = all.subspan(dependStart[e], dependStart[e + 1] - dependStart[e]);
        return outcome;
    };

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
            if (target.empty()) return finish(Failure(messages::TargetLineSyntaxError));
            const NameId id = targets.names.Add(target);
            if (static_cast<std::size_t>(id) >= isTarget.size()) isTarget.resize(2 * id + 64);
            if (isTarget[id]) return finish(Failure(messages::DupTarget(target)));
            isTarget[id] = true;
            dependStart.push_back(targets.dependNames.size());
            depends.clear();
            ExtractDepends(trimmed, depends, leadBytes);
            for (const DependName& name : depends) {
                targets.dependNames.push_back(name.blankAdded ? targets.names.AddCopy(name.Whole())
                                                              : targets.names.Add(name.text));
            }
            entries.push_back({id, {}, -1, -1});
            current = entries.size() - 1;
            break;
        }
        }
    }
    return finish(std::nullopt);
}

} // namespace vexel
