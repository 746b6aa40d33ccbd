// The log on POSIX: a FIFO as the log.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

#include "os/system_platform.h"

namespace vexel {
namespace {

// A FIFO is a log only while someone reads it, and then writes wait for a
// slow reader: the reader starts only once the FIFO is full, and still gets
// every byte of more than 64 KiB.
TEST(PosixLog, FifoLogWaitsForASlowReader) {
    char name[] = "/tmp/vexel-fifo-XXXXXX";
    ::close(::mkstemp(name));
    ::unlink(name);
    ASSERT_EQ(::mkfifo(name, 0666), 0);
    EXPECT_TRUE(SystemLog().Create(name)) << "nobody reads it";
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
