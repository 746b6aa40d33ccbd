#include "report/message_writer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "report/messages.h"
#include "report/unexpected_failure.h"

namespace vexel {

int StandardOutputWriter::Append(std::string_view bytes) {
    if (!bound_) {
        const int error = streams_.BindStandardOutput(consoleDevice_);
        if (error != 0) return error;
        bound_ = true;
    }
    while (!bytes.empty()) {
        const std::size_t room = BufferSize - used_;
        const std::size_t take = std::min(room, bytes.size());
        std::memcpy(buffer_ + used_, bytes.data(), take);
        used_ += take;
        bytes.remove_prefix(take);
        if (used_ == BufferSize) {
            if (const int error = WriteOut(); error != 0) return error;
        }
    }
    return consoleDevice_ ? WriteOut() : 0;
}

int StandardOutputWriter::Flush() {
    return bound_ ? WriteOut() : 0;
}

int StandardOutputWriter::WriteOut() {
    const std::size_t used = used_;
    used_ = 0;
    return used > 0 ? streams_.WriteStandardOutput(buffer_, used) : 0;
}

void MessageWriter::PrintMessage(std::string_view text) {
    const std::string line = messages::Line(text);

    int error = 0;
    if (logInUse_) {
        error = streams_.WriteLog(line.data(), line.size());
    } else {
        error = standardOutput_.Append(line);
        if (error == 0) error = standardOutput_.Flush();
    }
    if (error != 0) {
        RaiseIoFailure(error, std::string("writing to ") +
                                  (logInUse_ ? "the log" : "standard output") + " failed (" +
                                  streams_.DescribeError(error) + ")");
    }
}

} // namespace vexel
