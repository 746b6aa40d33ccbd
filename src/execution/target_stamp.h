// TargetStamp: what a target's file was before its commands ran, so that a
// target whose commands fail or are interrupted never looks finished.
#pragma once

#include <optional>
#include <string>

#include "os/platform.h"

namespace vexel {

// The oldest time that every platform sets reliably: 1970-01-01 00:00:00 UTC.
constexpr AgeStamp OldestStamp = AgeStamp::At(0, 0);

class TargetStamp {
public:
    // Notes the regular file the name stands for now, its last-write time
    // and who it is, before the first command of its target runs. An empty
    // name (the root record makes no file) or a pattern, whose stamp is
    // another file's, keeps nothing.
    TargetStamp(FileSystem& files, std::string file);

    // After a failure or an interruption: gives the file noted, when the
    // name still leads to it and the commands changed its time, its old time
    // back; or, when there was none and the commands made one, a regular
    // file reached by no link, OldestStamp; so that the next run makes it
    // again. Never deletes or writes a file, and never sets the time of any
    // other: a link the commands left in its place, a file they removed or
    // made a directory, or one whose time cannot be set, is left as it is.
    void GiveBack();

private:
    FileSystem& files_;
    std::string file_; // empty: nothing kept
    std::optional<RegularFile> before_;
};

} // namespace vexel
