#include "execution/target_stamp.h"

#include <utility>

#include "os/file_pattern.h"

namespace vexel {

TargetStamp::TargetStamp(FileSystem& files, std::string file) : files_(files) {
    if (file.empty() || IsPattern(file)) return;
    before_ = files_.FindRegularFile(file);
    file_ = std::move(file);
}

void TargetStamp::GiveBack() {
    if (file_.empty()) return;
    // A failure to set it changes nothing: the run ends as it would have.
    if (before_)
        files_.SetFileAgeStamp(file_, before_->identity, before_->stamp);
    else
        files_.SetFileAgeStamp(file_, std::nullopt, OldestStamp);
}

} // namespace vexel
