// The log on POSIX: standard output and error point at it, then come back;
// while one holds it, no other can have it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "os/posix/posix_platform.h"

namespace vexel {
namespace {

std::pair<dev_t, ino_t> FileOf(int descriptor) {
    struct stat status {};
    EXPECT_EQ(::fstat(descriptor, &status), 0);
    return {status.st_dev, status.st_ino};
}

TEST(PosixStreams, LogTakesStandardOutputAndErrorUntilRestored) {
    char name[] = "/tmp/vexel-log-XXXXXX";
    ::close(::mkstemp(name));
    const int reader = ::open(name, O_RDONLY);
    const auto output = FileOf(1), error = FileOf(2), log = FileOf(reader);
    ::close(reader);
    PosixStreams streams;
    ASSERT_TRUE(streams.CreateLog(name));
    streams.RedirectToLog();
    EXPECT_EQ(FileOf(1), log);
    EXPECT_EQ(FileOf(2), log);
    EXPECT_EQ(streams.WriteLog("line\r\n", 6), 0);
    PosixStreams other;
    EXPECT_FALSE(other.CreateLog(name));
    streams.RestoreFromLog();
    EXPECT_EQ(FileOf(1), output);
    EXPECT_EQ(FileOf(2), error);
    std::FILE* file = std::fopen(name, "rb");
    char text[16] = {};
    EXPECT_EQ(std::fread(text, 1, sizeof text, file), 6u);
    std::fclose(file);
    ::unlink(name);
}

} // namespace
} // namespace vexel
