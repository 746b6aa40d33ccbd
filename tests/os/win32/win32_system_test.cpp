// The Win32 log and time stamps through the real system calls, in a fresh
// folder (run under Wine).
#include <gtest/gtest.h>

#include <filesystem>

#include "os/win32/win32_platform.h"

namespace vexel {
namespace {

// The log takes the standard handles, unshared, until restored; a log that
// cannot be created takes nothing. Its stamp is its last-write time exactly.
TEST(Win32System, LogTakesTheStandardHandlesAndItsStampIsExact) {
    const auto dir = std::filesystem::temp_directory_path() / "vexel-system-test";
    std::filesystem::create_directories(dir);
    const std::string name = (dir / "log").string(), missing = (dir / "none" / "log").string();
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    auto codeOf = [](std::optional<SystemError> e) { return e.value_or(SystemError{}).code; };
    EXPECT_EQ(codeOf(SystemLog().Create(missing)), ERROR_PATH_NOT_FOUND);
    SystemLog log;
    ASSERT_FALSE(log.Create(name));
    log.Redirect();
    EXPECT_NE(::GetStdHandle(STD_OUTPUT_HANDLE), output);
    EXPECT_EQ(codeOf(SystemLog().Create(name)), ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(log.Write("line\r\n"));
    SystemStandardStreams().WriteCurrentError("error\r\n");
    // 100 ns ticks since 1601: 1970-01-01 00:00:01.5.
    const uint64_t ticks = 116444736000000000ull + 15000000;
    const FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    ::SetFileTime(::GetStdHandle(STD_ERROR_HANDLE), nullptr, nullptr, &time);
    log.Restore();
    EXPECT_EQ(::GetStdHandle(STD_OUTPUT_HANDLE), output);
    SystemFiles files;
    EXPECT_EQ(files.ReadWholeFile(name).value_or("none"), "line\r\nerror\r\n");
    for (const std::string& pattern : {name, name.substr(0, name.size() - 1) + "?"}) {
        const AgeStamp stamp = files.FileAgeStamp(pattern);
        EXPECT_TRUE(AgeStamp::At(1, 500000001).IsLaterThan(stamp)) << pattern;
        EXPECT_TRUE(stamp.IsLaterThan(AgeStamp::At(1, 499999999))) << pattern;
    }
    EXPECT_FALSE(files.FileAgeStamp(dir.string()).HasTime()) << "a folder";
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace vexel
