// TargetStamp: what a target's file was before its commands ran, so that a
// target whose commands fail or are interrupted never looks finished.
#pragma once

#include <string>

#include "os/platform.h"

namespace vexel {

// The oldest time that every platform sets reliably: 1970-01-01 00:00:00 UTC.
constexpr AgeStamp OldestStamp = AgeStamp::At(0, 0);

class TargetStamp {
public:
    // Reads the file's last-write time now, before the first command of its
    // target runs. An empty name (the root record makes no file) or a
    // pattern, whose stamp is another file's, keeps nothing.
    TargetStamp(FileSystem& files, std::string file);

    // After a failure or an interruption: gives a file that the commands
    // changed its old time back, or, when they made it, OldestStamp, so that
    // the next run makes it again. Never deletes or writes the file: one
    // that they left unchanged, or removed, or made a directory, or whose
    // time cannot be set, is left as it is.
    void GiveBack();

private:
    FileSystem& files_;
    std::string file_; // empty: nothing kept
    AgeStamp before_;
};

} // namespace vexel
