#include "os/win32/win32_listing.h"

#include <utility>

#include "os/stamp_way.h"

namespace vexel {

namespace {

// Closes the search on every way out, lack of memory included.
class SearchHandle {
public:
    explicit SearchHandle(HANDLE handle) : handle_(handle) {}
    SearchHandle(const SearchHandle&) = delete;
    SearchHandle& operator=(const SearchHandle&) = delete;
    ~SearchHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) ::FindClose(handle_);
    }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// The ANSI calls' own conversion (the ANSI code page); false for bytes that
// it would not convert exactly, which then keep the per-name way.
bool Widen(std::string_view bytes, std::wstring& wide) {
    wide.clear();
    if (bytes.empty()) return true;
    const int length = static_cast<int>(bytes.size());
    wchar_t small[MAX_PATH];
    const int size =
        ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(), length, small, MAX_PATH);
    if (size <= 0) return false;
    wide.assign(small, static_cast<std::size_t>(size));
    return true;
}

} // namespace

// Why an exact match answers as the per-name search would: the listing is
// the same directory search, without a pattern. Names are compared as the
// system holds them (UTF-16), never as the listing's ANSI form, where a
// character outside the code page may be shown as a look-alike. A name that
// is exactly an entry's name finds that entry: in a directory no other entry
// has an equal name or short name. Any other name (other letter case, an 8.3
// name, a missing file) is not found here and takes the per-name way.
void DirectoryListings::Read(std::span<const std::string_view> names,
                             const LeadByteSet& leadBytes) {
    listed_.clear();
    std::unordered_map<std::string_view, std::size_t> namesIn;
    for (const std::string_view name : names) {
        const StampRoute route = ChooseStampWay(name, leadBytes);
        if (route.way == StampWay::Attributes) ++namesIn[name.substr(0, route.directoryLength)];
    }
    for (const auto& [directory, count] : namesIn)
        if (count >= MinNames) ReadDirectory(directory, count);
}

void DirectoryListings::ReadDirectory(std::string_view directory, std::size_t names) {
    std::wstring pattern;
    if (!Widen(directory, pattern)) return;
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    // Basic: no short names, which nothing here compares.
    SearchHandle search(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
    if (search.Get() == INVALID_HANDLE_VALUE) return;
    Entries entries;
    entries.reserve(names);
    std::size_t seen = 0;
    do {
        if (++seen > names * EntriesPerName) return;
        const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.emplace(found.cFileName, ListedEntry{isDirectory, found.ftLastWriteTime});
    } while (::FindNextFileW(search.Get(), &found));
    // A listing cut short by a failure is not used.
    if (::GetLastError() != ERROR_NO_MORE_FILES) return;
    listed_.emplace(std::string(directory), std::move(entries));
}

const ListedEntry* DirectoryListings::Find(std::string_view name,
                                           std::size_t directoryLength) const {
    if (listed_.empty()) return nullptr;
    const auto directory = listed_.find(std::string(name.substr(0, directoryLength)));
    if (directory == listed_.end()) return nullptr;
    std::wstring last;
    if (!Widen(name.substr(directoryLength), last)) return nullptr;
    const auto entry = directory->second.find(last);
    return entry == directory->second.end() ? nullptr : &entry->second;
}

} // namespace vexel
