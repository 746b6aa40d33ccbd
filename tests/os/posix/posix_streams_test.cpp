// The log on POSIX: standard output and error point at it, then come back;
// a FIFO is a log only while someone reads it.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "os/system_platform.h"

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
    SystemStreams streams;
    ASSERT_TRUE(streams.CreateLog(name));
    streams.RedirectToLog();
    EXPECT_EQ(FileOf(1), log);
    EXPECT_EQ(FileOf(2), log);
    streams.RestoreFromLog();
    EXPECT_EQ(FileOf(1), output);
    EXPECT_EQ(FileOf(2), error);
    ::unlink(name);
}

TEST(PosixStreams, FifoIsALogWhileSomeoneReadsIt) {
    std::signal(SIGPIPE, SIG_IGN); // as the tool does
    char name[] = "/tmp/vexel-fifo-XXXXXX";
    ::close(::mkstemp(name));
    ::unlink(name);
    ASSERT_EQ(::mkfifo(name, 0666), 0);
    EXPECT_FALSE(SystemStreams().CreateLog(name)) << "nobody reads it";
    const int reader = ::open(name, O_RDONLY | O_NONBLOCK);
    SystemStreams streams;
    ASSERT_TRUE(streams.CreateLog(name));
    EXPECT_EQ(streams.WriteLog("line\r\n", 6), 0);
    char text[8] = {};
    EXPECT_EQ(::read(reader, text, sizeof text), 6);
    ::close(reader);
    EXPECT_EQ(streams.WriteLog("line\r\n", 6), EPIPE) << "the reader has gone";
    ::unlink(name);
}

} // namespace
} // namespace vexel
