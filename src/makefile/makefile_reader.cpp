#include "makefile/makefile_reader.h"

#include <algorithm>
#include <exception>
#include <string_view>

#include "makefile/line_kind.h"
#include "makefile/target_line.h"
#include "report/messages.h"

namespace vexel {

namespace {

// Room for count more names at the end of the last block, or in a new one.
std::vector<NameId>& RoomFor(std::size_t count, std::vector<std::vector<NameId>>& blocks) {
    constexpr std::size_t BlockSize = 16384; // names; a longer line gets a block of its own
    if (blocks.empty() || blocks.back().capacity() - blocks.back().size() < count)
        blocks.emplace_back().reserve(std::max(BlockSize, count));
    return blocks.back();
}

// A name met for the first time: given its file's name when it is quoted,
// and told to the watcher.
void Met(NameId id, MakefileNames& names, const LeadByteSet& leadBytes, NameWatcher* watcher) {
    const std::string_view name = names[id];
    if (IsQuoted(name)) names.SetFileName(id, Unquote(name, leadBytes));
    if (watcher) watcher->NameMet(id, name);
}

} // namespace

std::optional<Failure> LoadMakefile(FileSystem& files, const std::string& fileName,
                                    MakeLines& lines) {
    // A makefile too large for the memory at hand is one that cannot be
    // read, like any other.
    try {
        if (std::optional<std::string> text = files.ReadWholeFile(fileName)) {
            lines.Assign(std::move(*text));
            return std::nullopt;
        }
    } catch (const std::exception&) {
    }
    return Failure(messages::MakeFileOpenError);
}

std::optional<Failure> ReadTargets(const MakeLines& lines, const LeadByteSet& leadBytes,
                                   MakefileTargets& targets, NameWatcher* watcher) {
    MakefileNames& names = targets.names;
    std::vector<TDepend>& records = targets.records;
    records.emplace_back();
    std::size_t current = 0;
    std::vector<bool> isTarget; // by name id
    std::vector<DependName> depends;
    // The id of a name of the line, a new one met.
    auto add = [&](std::string_view text, bool copy) {
        const NameId known = names.Count();
        const NameId id = copy ? names.AddCopy(std::string(text)) : names.Add(text);
        if (id == known) Met(id, names, leadBytes, watcher);
        return id;
    };

    const std::size_t count = lines.Count();
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view line = lines[i];
        switch (ClassifyLine(line)) {
        case LineKind::Command: {
            const auto index = static_cast<int32_t>(i);
            if (records[current].CmdFirst == -1) records[current].CmdFirst = index;
            records[current].CmdLast = index;
            break;
        }
        case LineKind::Ignored:
            break;
        case LineKind::Target: {
            const std::string_view trimmed = Trim(line);
            const std::string_view target = ExtractTarget(trimmed, leadBytes);
            if (target.empty()) return Failure(messages::TargetLineSyntaxError);
            const NameId id = add(target, false);
            if (static_cast<std::size_t>(id) >= isTarget.size()) isTarget.resize(2 * id + 64);
            if (isTarget[id]) return Failure(messages::DupTarget(target));
            isTarget[id] = true;
            depends.clear();
            ExtractDepends(trimmed, depends, leadBytes);
            std::vector<NameId>& block = RoomFor(depends.size(), targets.dependBlocks);
            const std::size_t first = block.size();
            for (const DependName& name : depends)
                block.push_back(name.blankAdded ? add(name.Whole(), true) : add(name.text, false));
            TDepend& record = records.emplace_back();
            record.Target = id;
            record.Depends = std::span<const NameId>(block).subspan(first);
            current = records.size() - 1;
            break;
        }
        }
    }
    return std::nullopt;
}

} // namespace vexel
