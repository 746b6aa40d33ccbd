#include <climits>
#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "os/win32/win32_platform.h"
#include "os/windows_stamp_way.h"

namespace vexel {

namespace {

// Closes the handle on every way out, failures and lack of memory included.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
    }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// Largest makefile: its size and its line numbers must fit a signed 32-bit
// count.
constexpr DWORD MaxMakefileSize = INT32_MAX;

// File times count 100 ns ticks from 1601-01-01 00:00:00 UTC.
constexpr uint64_t TicksPerSecond = 10000000;
constexpr int64_t SecondsFrom1601To1970 = 11644473600;

AgeStamp StampOf(const FILETIME& time) {
    // Taken as the file system keeps it, in UTC: no conversion to local
    // time, which would make one hour of the year repeat.
    const uint64_t ticks = static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
    return AgeStamp::At(static_cast<int64_t>(ticks / TicksPerSecond) - SecondsFrom1601To1970,
                        static_cast<int32_t>(ticks % TicksPerSecond * 100));
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
}

// Whether the opened file is a file on disk, no directory and no link, with
// what the system tells of it.
bool IsRegularFile(const FileHandle& file, BY_HANDLE_FILE_INFORMATION& info) {
    constexpr DWORD NotRegular = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    return file.Get() != INVALID_HANDLE_VALUE && ::GetFileType(file.Get()) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(file.Get(), &info) != 0 &&
           (info.dwFileAttributes & NotRegular) == 0;
}

// What the search for a name finds: whether it found an entry, and the stamp.
struct Searched {
    bool found = false;
    AgeStamp stamp;
};

Searched Search(const std::string& name) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA(name.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    ::FindClose(search);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {true, {}};
    return {true, StampOf(found.ftLastWriteTime)};
}

} // namespace

AgeStamp SearchedAgeStamp(const std::string& name) {
    return Search(name).stamp;
}

// The code page's lead bytes, and whether a search can list each directory
// (asked from several threads): the search needs the right to list it, the
// attributes call does not.
struct SystemFiles::State {
    enum class Listing { Unknown, Listed, NotListed };

    LeadByteSet leadBytes = SystemNames().LeadBytes();
    std::mutex lock;
    std::unordered_map<std::string, bool> listed;

    Listing Of(const std::string& directory) {
        const std::lock_guard<std::mutex> hold(lock);
        const auto known = listed.find(directory);
        if (known == listed.end()) return Listing::Unknown;
        return known->second ? Listing::Listed : Listing::NotListed;
    }

    void Learn(const std::string& directory, bool canList) {
        const std::lock_guard<std::mutex> hold(lock);
        listed.emplace(directory, canList);
    }
};

SystemFiles::SystemFiles() : state_(std::make_unique<State>()) {}
SystemFiles::~SystemFiles() = default;

std::optional<std::string> SystemFiles::ReadWholeFile(const std::string& name) {
    // No sharing: nobody can change the file while it is read. A directory
    // cannot be opened this way, so it fails here too.
    FileHandle file(::CreateFileA(name.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) return std::nullopt;
    // A device (CON, NUL) or a pipe is no makefile.
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) return std::nullopt;

    // The size is the end position less the start position (0).
    LONG high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD size = ::SetFilePointer(file.Get(), 0, &high, FILE_END);
    if (size == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR) return std::nullopt;
    if (high != 0 || size > MaxMakefileSize) return std::nullopt;
    if (::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != 0) return std::nullopt;

    std::string contents(size, '\0');
    DWORD done = 0;
    while (done < size) {
        // A read may return less than asked for; only a failed read or the
        // end of the file before the size was reached is a failure.
        DWORD got = 0;
        if (!::ReadFile(file.Get(), contents.data() + done, size - done, &got, nullptr) || got == 0)
            return std::nullopt;
        done += got;
    }
    return contents;
}

bool SystemFiles::SameFile(const std::string& first, const std::string& second) {
    // Opened only to ask who the file is: no access, every sharing, so that
    // the question disturbs nobody.
    auto identify = [](const std::string& name, BY_HANDLE_FILE_INFORMATION& info) {
        FileHandle file(::CreateFileA(name.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        return file.Get() != INVALID_HANDLE_VALUE &&
               ::GetFileInformationByHandle(file.Get(), &info) != 0;
    };
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    return identify(first, a) && identify(second, b) && IdentityOf(a) == IdentityOf(b);
}

AgeStamp SystemFiles::FileAgeStamp(const std::string& name) {
    // Which names may take the cheap way, and why: windows_stamp_way.cpp.
    const StampRoute route = ChooseStampWay(name, state_->leadBytes);
    if (route.way == StampWay::Search) return SearchedAgeStamp(name);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(name.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return {};
        return SearchedAgeStamp(name); // a device, a name the call refuses...
    }
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return {};
    // The first file of a directory is searched for: the file is there, so
    // the search finds it exactly when it can list the directory.
    const std::string directory = name.substr(0, route.directoryLength);
    const State::Listing listing = state_->Of(directory);
    if (listing == State::Listing::Listed) return StampOf(data.ftLastWriteTime);
    const Searched searched = Search(name);
    if (listing == State::Listing::NotListed) return searched.stamp;
    state_->Learn(directory, searched.found);
    return searched.stamp;
}

std::optional<RegularFile> SystemFiles::FindRegularFile(const std::string& name) {
    // Opened only to ask: no access but to the attributes, every sharing.
    const FileHandle file(::CreateFileA(name.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!IsRegularFile(file, info)) return std::nullopt;
    return RegularFile{StampOf(info.ftLastWriteTime), IdentityOf(info)};
}

void SystemFiles::SetFileAgeStamp(const std::string& name, const std::optional<FileIdentity>& was,
                                  const AgeStamp& stamp) {
    // Ticks since 1601; none before it, and never 0, which tells SetFileTime
    // to leave the time as it is.
    if (!stamp.HasTime() || stamp.Seconds() <= -SecondsFrom1601To1970 ||
        stamp.Seconds() > INT64_MAX / static_cast<int64_t>(TicksPerSecond) - SecondsFrom1601To1970)
        return;
    const uint64_t ticks =
        static_cast<uint64_t>(stamp.Seconds() + SecondsFrom1601To1970) * TicksPerSecond +
        static_cast<uint64_t>(stamp.Nanoseconds()) / 100;
    // Attributes only, every sharing: the contents cannot be touched, and a
    // file that another process holds open is not disturbed. A file that was
    // not there is opened as the link itself, if it is one, and left alone.
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (was ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    const FileHandle file(::CreateFileA(name.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, flags, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!IsRegularFile(file, info) || (was && IdentityOf(info) != *was) ||
        StampOf(info.ftLastWriteTime) == stamp)
        return;
    const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    ::SetFileTime(file.Get(), nullptr, nullptr, &written);
}

} // namespace vexel
