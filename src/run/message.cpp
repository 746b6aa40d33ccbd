#include "run/message.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "run/failure.h"

namespace vexel {

void StandardOutputWriter::Append(std::string_view bytes) {
    if (!bound_) {
        const int error = streams_.BindStandardOutput(consoleDevice_);
        if (error != 0) {
            pendingError_ = error;
            return;
        }
        bound_ = true;
    }
    while (!bytes.empty()) {
        const std::size_t room = BufferSize - used_;
        const std::size_t take = std::min(room, bytes.size());
        std::memcpy(buffer_ + used_, bytes.data(), take);
        used_ += take;
        bytes.remove_prefix(take);
        if (used_ == BufferSize) WriteOut();
    }
    if (consoleDevice_) WriteOut();
}

void StandardOutputWriter::Flush() {
    if (bound_) WriteOut();
}

void StandardOutputWriter::WriteOut() {
    if (used_ > 0 && pendingError_ == 0) {
        pendingError_ = streams_.WriteStandardOutput(buffer_, used_);
    }
    used_ = 0;
}

int StandardOutputWriter::TakeError() {
    const int error = pendingError_;
    pendingError_ = 0;
    return error;
}

void MessageWriter::PrintMessage(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 9);
    line.append("Vexel: ").append(text).append("\r\n");

    if (logInUse_) {
        streams_.WriteLog(line.data(), line.size());
        return;
    }
    standardOutput_.Append(line);
    RaisePendingError();
    standardOutput_.Flush();
    RaisePendingError();
}

void MessageWriter::RaisePendingError() {
    const int error = standardOutput_.TakeError();
    if (error == 0) return;
    RaiseIoFailure(error,
                   "writing to standard output failed (" + streams_.DescribeError(error) + ")");
}

} // namespace vexel
