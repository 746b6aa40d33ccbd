#include "report/message_writer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "report/messages.h"
#include "report/unexpected_failure.h"

namespace vexel {

std::optional<SystemError> StandardOutputWriter::Append(std::string_view bytes) {
    if (!bound_) {
        if (std::optional<SystemError> failed = standard_.BindOutput()) return failed;
        bound_ = true;
    }
    while (!bytes.empty()) {
        const std::size_t room = BufferSize - used_;
        const std::size_t take = std::min(room, bytes.size());
        std::memcpy(buffer_ + used_, bytes.data(), take);
        used_ += take;
        bytes.remove_prefix(take);
        if (used_ == BufferSize) {
            if (std::optional<SystemError> failed = WriteOut()) return failed;
        }
    }
    return standard_.BoundToConsole() ? WriteOut() : std::nullopt;
}

std::optional<SystemError> StandardOutputWriter::Flush() {
    return bound_ ? WriteOut() : std::nullopt;
}

std::optional<SystemError> StandardOutputWriter::WriteOut() {
    const std::size_t used = used_;
    used_ = 0;
    if (used == 0) return std::nullopt;
    return standard_.WriteOutput(std::string_view(buffer_, used));
}

void MessageWriter::PrintMessage(std::string_view text) {
    if (destination_ == Destination::Nowhere) return;
    const std::string line = messages::Line(text);

    const bool toLog = destination_ == Destination::Log;
    std::optional<SystemError> failed;
    if (toLog) {
        failed = log_.Write(line);
    } else {
        failed = standardOutput_.Append(line);
        if (!failed) failed = standardOutput_.Flush();
    }
    if (failed) {
        RaiseIoFailure(failed->code, std::string("writing to ") +
                                         (toLog ? "the log" : "standard output") + " failed (" +
                                         standard_.DescribeError(*failed) + ")");
    }
}

} // namespace vexel
