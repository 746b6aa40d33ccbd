// The entries of the directories where many names are asked, each read in
// one pass: under Wine a name's attributes cost three walks of its whole
// path, a listed entry one short one.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/text.h"
#include "os/win32/win32_platform.h"

namespace vexel {

// An entry as the listing of its directory shows it.
struct ListedEntry {
    bool directory = false;
    FILETIME lastWrite{};
};

class DirectoryListings {
public:
    // Below this many plain names in a directory it is not listed.
    static constexpr std::size_t MinNames = 16;
    // A directory holding more than this many entries per name asked in it
    // is not listed either, so that the reading stays in proportion to the
    // names: under Wine an entry listed costs about two thirds of a name
    // asked for its attributes.
    static constexpr std::size_t EntriesPerName = 2;

    // Lists the directories that at least MinNames of the names taking the
    // attributes way (ChooseStampWay) lie in; forgets earlier listings.
    void Read(std::span<const std::string_view> names, const LeadByteSet& leadBytes);
    void Forget() { listed_.clear(); }

    // The entry whose name is exactly the last part of name (after its first
    // directoryLength bytes), converted as the ANSI calls convert it, when
    // name's directory was listed; nullptr otherwise. Safe from several
    // threads at once between Read and Forget.
    const ListedEntry* Find(std::string_view name, std::size_t directoryLength) const;

private:
    using Entries = std::unordered_map<std::wstring, ListedEntry>;
    void ReadDirectory(std::string_view directory, std::size_t names);

    std::unordered_map<std::string, Entries> listed_;
};

} // namespace vexel
