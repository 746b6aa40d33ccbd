#include <cerrno>
#include <climits>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/posix/posix_platform.h"

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

// Packs a local time as date word and time word; -1 outside 1980 to 2107.
int32_t PackLocalTime(std::time_t time) {
    std::tm local{};
    if (::localtime_r(&time, &local) == nullptr) return NoStamp;
    const int year = local.tm_year + 1900;
    if (year < 1980 || year > 2107) return NoStamp;
    const uint32_t date = static_cast<uint32_t>(year - 1980) << 9 |
                          static_cast<uint32_t>(local.tm_mon + 1) << 5 |
                          static_cast<uint32_t>(local.tm_mday);
    const int seconds = local.tm_sec > 59 ? 59 : local.tm_sec; // a leap second
    const uint32_t clock = static_cast<uint32_t>(local.tm_hour) << 11 |
                           static_cast<uint32_t>(local.tm_min) << 5 |
                           static_cast<uint32_t>(seconds / 2);
    return static_cast<int32_t>(date << 16 | clock);
}

bool IsPattern(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

} // namespace

bool PosixFileSystem::ReadWholeFile(const std::string& name, std::string& contents) {
    // Not blocking: opening a FIFO that nobody writes to must not hang, and
    // anything but a regular file is refused before a byte is read.
    Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.Get() < 0) return false;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    if (static_cast<std::uintmax_t>(status.st_size) > MaxMakefileSize) return false;
    // The size is taken before the read, as on Windows; a file that ends
    // sooner fails.
    contents.assign(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t count = ::read(file.Get(), contents.data() + done, contents.size() - done);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            contents.clear();
            return false;
        }
        done += static_cast<std::size_t>(count);
    }
    return true;
}

bool PosixFileSystem::SameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int32_t PosixFileSystem::FileAgeStamp(const std::string& name) {
    std::string path = name;
    if (IsPattern(name)) {
        // Like a search on Windows: the first match counts.
        glob_t matches{};
        if (::glob(name.c_str(), 0, nullptr, &matches) != 0 || matches.gl_pathc == 0) {
            ::globfree(&matches);
            return NoStamp;
        }
        path = matches.gl_pathv[0];
        ::globfree(&matches);
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return NoStamp;
    return PackLocalTime(status.st_mtime);
}

} // namespace vexel
