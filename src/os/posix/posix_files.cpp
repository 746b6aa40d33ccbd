#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

#include "os/system_platform.h"

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

bool IsPattern(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

} // namespace

// Nothing kept between calls.
struct SystemFiles::State {};

SystemFiles::SystemFiles() = default;
SystemFiles::~SystemFiles() = default;

bool SystemFiles::ReadWholeFile(const std::string& name, std::string& contents) {
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

bool SystemFiles::SameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

AgeStamp SystemFiles::FileAgeStamp(const std::string& name) {
    std::string path = name;
    if (IsPattern(name)) {
        // Like a search on Windows: the first match counts.
        glob_t matches{};
        if (::glob(name.c_str(), 0, nullptr, &matches) != 0 || matches.gl_pathc == 0) {
            ::globfree(&matches);
            return {};
        }
        path = matches.gl_pathv[0];
        ::globfree(&matches);
    }
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return {};
    return AgeStamp::At(status.st_mtim.tv_sec, static_cast<int32_t>(status.st_mtim.tv_nsec));
}

} // namespace vexel
