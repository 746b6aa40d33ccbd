#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "os/file_pattern.h"
#include "os/posix/first_match.h"
#include "os/system_platform.h"

// Without the 64-bit interfaces (the build sets them), a 32-bit system fails
// stat on a file over 2 GiB or dated after 2038, and readdir on ext4: a file
// that changed would look missing, and its target up to date.
static_assert(sizeof(off_t) == 8 && sizeof(time_t) == 8,
              "build with _FILE_OFFSET_BITS=64 and _TIME_BITS=64");

namespace vexel {

namespace {

class Descriptor {
public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (descriptor_ >= 0) ::close(descriptor_);
    }
    int Get() const { return descriptor_; }

private:
    int descriptor_;
};

// Largest makefile: its size and its line numbers must fit a signed 32-bit
// count.
constexpr std::uintmax_t MaxMakefileSize = INT32_MAX;

AgeStamp StampOf(const struct stat& status) {
    return AgeStamp::At(status.st_mtim.tv_sec, static_cast<int32_t>(status.st_mtim.tv_nsec));
}

FileIdentity IdentityOf(const struct stat& status) {
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
}

} // namespace

// Nothing kept between calls.
struct SystemFiles::State {};

SystemFiles::SystemFiles() = default;
SystemFiles::~SystemFiles() = default;

std::optional<std::string> SystemFiles::ReadWholeFile(const std::string& name) {
    // Not blocking: opening a FIFO that nobody writes to must not hang, and
    // anything but a regular file is refused before a byte is read.
    Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) return std::nullopt;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    if (static_cast<std::uintmax_t>(status.st_size) > MaxMakefileSize) return std::nullopt;
    // The size is taken before the read, as on Windows; a file that ends
    // sooner fails.
    std::string contents(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t count = ::read(file.Get(), contents.data() + done, contents.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return std::nullopt;
        done += static_cast<std::size_t>(count);
    }
    return contents;
}

bool SystemFiles::SameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           IdentityOf(a) == IdentityOf(b);
}

AgeStamp SystemFiles::FileAgeStamp(const std::string& name) {
    std::string path = name;
    if (IsPattern(name)) {
        // Like a search on Windows: the first match counts, found without
        // expanding the whole pattern (one over the whole tree never ends).
        std::optional<std::string> match = FirstMatch(name);
        if (!match) return {};
        path = std::move(*match);
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return {};
    return StampOf(status);
}

std::optional<RegularFile> SystemFiles::FindRegularFile(const std::string& name) {
    struct stat status {};
    if (::stat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return RegularFile{StampOf(status), IdentityOf(status)};
}

void SystemFiles::SetFileAgeStamp(const std::string& name, const std::optional<FileIdentity>& was,
                                  const AgeStamp& stamp) {
    // Only a regular file is opened: opening a device may act on it, and
    // opening a FIFO would wait. A file that was not there is taken only when
    // no link leads to it: a link would lead to a file the commands did not
    // make.
    struct stat status {};
    const int found = was ? ::stat(name.c_str(), &status) : ::lstat(name.c_str(), &status);
    if (!stamp.HasTime() || found != 0 || !S_ISREG(status.st_mode)) return;
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (was ? 0 : O_NOFOLLOW);
    const Descriptor file(::open(name.c_str(), flags));
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return;
    if ((was && IdentityOf(status) != *was) || StampOf(status) == stamp) return;
    // The access time stays as it is.
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(stamp.Seconds()), stamp.Nanoseconds()}};
    ::futimens(file.Get(), times);
}

} // namespace vexel
