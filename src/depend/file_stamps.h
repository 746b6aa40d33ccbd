// The age stamp of the file each name stands for: the name itself, or the
// unquoted text of a quoted name (see MakefileNames::FileName). Names that
// stand for one file share it, and each file is asked for once.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "depend/stamp_fetch.h"
#include "makefile/makefile_reader.h"

namespace vexel {

// The stamps of the files that the names of a reading stand for, once every
// one has come: a value that the marking takes.
class FileStampTable {
public:
    // The stamp of the file that a name met in the reading stands for. Any
    // other id is a fault of the caller: std::out_of_range.
    const AgeStamp& StampOf(NameId name) const {
        const auto index = static_cast<std::size_t>(name);
        if (index >= fileOfName_.size() || fileOfName_[index] < 0) NotMet();
        return answers_[static_cast<std::size_t>(fileOfName_[index])];
    }

private:
    friend class FileStamps;
    [[noreturn]] static void NotMet();
    std::vector<int32_t> fileOfName_; // by name id; -1: not met
    StampAnswers answers_;            // by file
};

// The watcher of the reader: it asks for the file of each name that stands
// for itself as soon as the name is met, so that the file system answers
// while the reading and the checks after it go on. A quoted name's file is
// asked for once the reading is done, when every name that may stand for
// the same file is known.
class FileStamps final : public NameWatcher {
public:
    FileStamps(FileSystem& files, unsigned threads);

    void NameMet(NameId id, std::string_view name) override;

    // Asks for the files of the quoted names met, then waits for the stamps
    // of all files and hands them over. Called once, when the reading of
    // names is done.
    FileStampTable AwaitStamps(const MakefileNames& names);

private:
    int32_t FileOf(const MakefileNames& names, NameId name);
    int32_t NewFile(std::string_view path);
    int32_t& FileSlot(NameId name); // -1 until asked

    std::vector<int32_t> fileOfName_; // by name id
    std::vector<NameId> quotedNames_; // met, their files not asked for yet
    // The files of unquoted texts that are no name of the makefile, or that
    // begin with a quote themselves (as a name of the makefile such a text
    // would stand for another file). Its nodes never move, so the fetch may
    // view their texts.
    std::unordered_map<std::string, int32_t> fileOfPath_;
    int32_t fileCount_ = 0;
    StampFetch fetch_;
};

} // namespace vexel
