// AgeStamp: when a file was last written, as the file system keeps it.
#pragma once

#include <cstdint>

namespace vexel {

// A file's last-write time in UTC, at the resolution its file system keeps
// (nanoseconds, 100 ns, two seconds...), whatever its date; or no time at
// all, for a name that is missing or is a directory. Times are never
// converted to local time, so every file is measured on one scale.
class AgeStamp {
public:
    // No time: the name is missing or is a directory.
    constexpr AgeStamp() = default;

    // Written at seconds since 1970-01-01 00:00:00 UTC (negative before it)
    // plus nanoseconds, 0 to 999,999,999.
    static constexpr AgeStamp At(int64_t seconds, int32_t nanoseconds) {
        AgeStamp stamp;
        stamp.seconds_ = seconds;
        stamp.nanoseconds_ = nanoseconds;
        return stamp;
    }

    constexpr bool HasTime() const { return nanoseconds_ != NoTime; }

    // The parts of At; meaningful only with a time.
    constexpr int64_t Seconds() const { return seconds_; }
    constexpr int32_t Nanoseconds() const { return nanoseconds_; }

    // Written strictly later than other; false when either has no time.
    constexpr bool IsLaterThan(const AgeStamp& other) const {
        if (!HasTime() || !other.HasTime()) return false;
        return seconds_ != other.seconds_ ? seconds_ > other.seconds_
                                          : nanoseconds_ > other.nanoseconds_;
    }

    // The same time, or both no time.
    friend constexpr bool operator==(const AgeStamp&, const AgeStamp&) = default;

private:
    static constexpr int32_t NoTime = -1;
    int64_t seconds_ = 0;
    int32_t nanoseconds_ = NoTime;
};

} // namespace vexel
