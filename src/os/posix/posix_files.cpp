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
    Descriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) return false;
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || S_ISDIR(status.st_mode)) return false;
    contents.clear();
    if (S_ISREG(status.st_mode)) {
        if (static_cast<std::uintmax_t>(status.st_size) > MaxMakefileSize) return false;
        contents.reserve(static_cast<std::size_t>(status.st_size));
    }
    char block[65536];
    for (;;) {
        const ssize_t count = ::read(file.Get(), block, sizeof block);
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (count == 0) return true;
        if (contents.size() + static_cast<std::size_t>(count) > MaxMakefileSize) return false;
        contents.append(block, static_cast<std::size_t>(count));
    }
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
