// The log on POSIX: standard output and error point at it, then come back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "os/posix/posix_platform.h"

namespace vexel {
namespace {

std::pair<dev_t, ino_t> FileOf(int descriptor, const char* name = nullptr) {
    struct stat status {};
    EXPECT_EQ(name ? ::stat(name, &status) : ::fstat(descriptor, &status), 0);
    return {status.st_dev, status.st_ino};
}

TEST(PosixStreams, LogTakesStandardOutputAndErrorUntilRestored) {
    char name[] = "/tmp/vexel-log-XXXXXX";
    ::close(::mkstemp(name));
    const auto output = FileOf(1), error = FileOf(2), log = FileOf(-1, name);
    PosixStreams streams;
    ASSERT_TRUE(streams.CreateLog(name));
    streams.RedirectToLog();
    EXPECT_EQ(FileOf(1), log);
    EXPECT_EQ(FileOf(2), log);
    streams.RestoreFromLog();
    EXPECT_EQ(FileOf(1), output);
    EXPECT_EQ(FileOf(2), error);
    ::unlink(name);
}

} // namespace
} // namespace vexel
