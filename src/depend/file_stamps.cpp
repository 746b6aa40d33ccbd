#include "depend/file_stamps.h"

#include <stdexcept>

#include "makefile/target_line.h"

namespace vexel {

void FileStampTable::NotMet() {
    throw std::out_of_range("no stamp for a name the reading did not meet");
}

FileStamps::FileStamps(FileSystem& files, unsigned threads) : fetch_(files, threads) {}

void FileStamps::NameMet(NameId id, std::string_view name) {
    if (IsQuoted(name))
        quotedNames_.push_back(id);
    else
        FileSlot(id) = NewFile(name);
}

FileStampTable FileStamps::AwaitStamps(const MakefileNames& names) {
    for (const NameId name : quotedNames_)
        FileOf(names, name);
    FileStampTable table;
    table.answers_ = fetch_.TakeAnswers();
    table.fileOfName_ = std::move(fileOfName_);
    return table;
}

int32_t FileStamps::FileOf(const MakefileNames& names, NameId name) {
    if (const int32_t known = FileSlot(name); known != -1) return known;
    const std::string_view path = names.FileName(name);
    // A plain name of the makefile stands for its own file, asked for when
    // it was met.
    const NameId plain = IsQuoted(path) ? NoName : names.Find(path);
    int32_t file = -1;
    if (plain != NoName) {
        file = FileOf(names, plain);
    } else {
        auto [known, added] = fileOfPath_.try_emplace(std::string(path), -1);
        if (added) known->second = NewFile(known->first);
        file = known->second;
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
