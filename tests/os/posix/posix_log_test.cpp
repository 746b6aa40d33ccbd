// The log on POSIX: standard output and error point at it, then come back;
// a FIFO is a log only while someone reads it.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
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

TEST(PosixLog, LogTakesStandardOutputAndErrorUntilRestored) {
    char name[] = "/tmp/vexel-log-XXXXXX";
    ::close(::mkstemp(name));
    const auto output = FileOf(1), error = FileOf(2), file = FileOf(-1, name);
    SystemLog log;
    ASSERT_FALSE(log.Create(name));
    log.Redirect();
    EXPECT_EQ(FileOf(1), file);
    EXPECT_EQ(FileOf(2), file);
    log.Restore();
    EXPECT_EQ(FileOf(1), output);
    EXPECT_EQ(FileOf(2), error);
    ::unlink(name);
}

TEST(PosixLog, FifoIsALogWhileSomeoneReadsIt) {
    std::signal(SIGPIPE, SIG_IGN); // as the tool does
    char name[] = "/tmp/vexel-fifo-XXXXXX";
    ::close(::mkstemp(name));
    ::unlink(name);
    ASSERT_EQ(::mkfifo(name, 0666), 0);
    EXPECT_TRUE(SystemLog().Create(name)) << "nobody reads it";
    const int reader = ::open(name, O_RDONLY | O_NONBLOCK);
    SystemLog log;
    ASSERT_FALSE(log.Create(name));
    EXPECT_FALSE(log.Write("line\r\n"));
    char text[8] = {};
    EXPECT_EQ(::read(reader, text, sizeof text), 6);
    ::close(reader);
    EXPECT_EQ(log.Write("line\r\n").value_or(SystemError{}).code, EPIPE) << "the reader has gone";
    ::unlink(name);
}

// Writes wait for a slow reader of a FIFO: the reader starts only once the
// FIFO is full, and still gets every byte of more than 64 KiB.
TEST(PosixLog, FifoLogWaitsForASlowReader) {
    char name[] = "/tmp/vexel-fifo-XXXXXX";
    ::close(::mkstemp(name));
    ::unlink(name);
    ASSERT_EQ(::mkfifo(name, 0666), 0);
    const int reader = ::open(name, O_RDONLY | O_NONBLOCK);
    SystemLog log;
    ASSERT_FALSE(log.Create(name));
    ::fcntl(reader, F_SETFL, 0);
    const std::string line(128, 'x'); // whole pages of the pipe fill it
    const auto capacity = static_cast<std::size_t>(::fcntl(reader, F_GETPIPE_SZ));
    const std::size_t lines = capacity / line.size() + 100;
    std::size_t got = 0;
    std::atomic<bool> writerDone = false; // it cannot be, unless a write failed
    std::thread read([&] {
        int held = 0;
        while (!writerDone && ::ioctl(reader, FIONREAD, &held) == 0 && std::size_t(held) < capacity)
            std::this_thread::yield();
        char buffer[4096];
        for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
            got += std::size_t(n);
    });
    std::optional<SystemError> failed;
    for (std::size_t i = 0; i < lines && !failed; ++i)
        failed = log.Write(line);
    writerDone = true;
    EXPECT_FALSE(failed) << std::strerror(failed->code);
    log.Redirect();
    log.Restore(); // closes the log: the reader sees the end
    read.join();
    EXPECT_EQ(got, lines * line.size());
    ::close(reader);
    ::unlink(name);
}

} // namespace
} // namespace vexel
