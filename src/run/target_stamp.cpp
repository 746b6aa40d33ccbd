#include "run/target_stamp.h"

#include <utility>

namespace vexel {

TargetStamp::TargetStamp(FileSystem& files, std::string file) : files_(files) {
    if (file.empty() || file.find_first_of("*?") != std::string::npos) return;
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
