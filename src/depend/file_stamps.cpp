#include "depend/file_stamps.h"

#include "makefile/target_line.h"

namespace vexel {

namespace {

bool IsQuoted(std::string_view name) {
    return !name.empty() && (name[0] == '"' || name[0] == '\'');
}

} // namespace

FileStamps::FileStamps(FileSystem& files, const LeadByteSet& leadBytes, unsigned threads)
    : leadBytes_(leadBytes), fetch_(files, threads) {}

void FileStamps::NameMet(NameId id, std::string_view name) {
    if (IsQuoted(name))
        quotedNames_.push_back(id);
    else
        FileSlot(id) = NewFile(name);
}

void FileStamps::AwaitStamps(MakefileNames& names) {
    for (const NameId name : quotedNames_)
        FileOf(names, name);
    fetch_.AwaitAnswers();
}

int32_t FileStamps::FileOf(MakefileNames& names, NameId name) {
    if (const int32_t known = FileSlot(name); known != -1) return known;
    const std::string_view text = names[name];
    int32_t file = -1;
    if (!IsQuoted(text)) {
        file = NewFile(text);
    } else {
        const NameId path = names.AddCopy(Unquote(text, leadBytes_));
        if (!IsQuoted(names[path])) {
            file = FileOf(names, path); // a plain name: its own file
        } else {
            auto [known, added] = fileOfQuotedPath_.try_emplace(path, -1);
            if (added) known->second = NewFile(names[path]);
            file = known->second;
        }
    }
    FileSlot(name) = file;
    return file;
}

int32_t& FileStamps::FileSlot(NameId name) {
    const auto index = static_cast<std::size_t>(name);
    if (index >= fileOfName_.size()) fileOfName_.resize(2 * index + 64, -1);
    return fileOfName_[index];
}

int32_t FileStamps::NewFile(std::string_view path) {
    fetch_.Ask(path);
    return fileCount_++;
}

} // namespace vexel
