// The age stamp of the file each name stands for: the name itself, or the
// unquoted text of a name that begins with a quote. Names that unquote alike
// share one file, and each file is asked for once.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/text.h"
#include "depend/stamp_fetch.h"
#include "makefile/makefile_reader.h"

namespace vexel {

// The watcher of the reader: it asks for the file of each name that stands
// for itself as soon as the name is met, so that the file system answers
// while the reading and the checks after it go on. A quoted name's file is
// asked for once the reading is done.
class FileStamps final : public NameWatcher {
public:
    FileStamps(FileSystem& files, const LeadByteSet& leadBytes, unsigned threads);

    void NameMet(NameId id, std::string_view name) override;

    // Asks for the files of the quoted names met, their unquoted names
    // joining names, then waits for the stamps of all files. Called once,
    // when the reading is done.
    void AwaitStamps(MakefileNames& names);

    // The stamp of the file that a name met stands for, once all have come.
    const AgeStamp& StampOf(NameId name) const {
        return fetch_.Answer(static_cast<std::size_t>(fileOfName_[static_cast<std::size_t>(name)]));
    }

private:
    int32_t FileOf(MakefileNames& names, NameId name);
    int32_t NewFile(std::string_view path);
    int32_t& FileSlot(NameId name); // -1 until asked

    const LeadByteSet leadBytes_;
    std::vector<int32_t> fileOfName_; // by name id
    std::vector<NameId> quotedNames_; // met, their files not asked for yet
    // The files of unquoted names that begin with a quote themselves: as a
    // name of the makefile such a text would stand for another file.
    std::unordered_map<NameId, int32_t> fileOfQuotedPath_;
    int32_t fileCount_ = 0;
    StampFetch fetch_;
};

} // namespace vexel
