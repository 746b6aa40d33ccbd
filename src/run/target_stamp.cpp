#include "run/target_stamp.h"

#include <utility>

namespace vexel {

TargetStamp::TargetStamp(FileSystem& files, std::string file) : files_(files) {
    if (file.empty() || file.find_first_of("*?") != std::string::npos) return;
    before_ = files_.FileAgeStamp(file);
    file_ = std::move(file);
}

void TargetStamp::GiveBack() {
    if (file_.empty()) return;
    const AgeStamp now = files_.FileAgeStamp(file_);
    if (!now.HasTime() || now == before_) return;
    // A failure to set it changes nothing: the run ends as it would have.
    files_.SetFileAgeStamp(file_, before_.HasTime() ? before_ : OldestStamp);
}

} // namespace vexel
