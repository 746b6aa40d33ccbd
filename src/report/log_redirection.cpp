#include "report/log_redirection.h"

#include "report/messages.h"

namespace vexel {

LogRedirection::LogRedirection(LogFile& log, StandardStreams& standard, MessageWriter& out,
                               const std::string& name)
    : log_(log) {
    // Without a log the caller's standard output and error stay as they
    // were, so that the commands' own output is not lost with the lines.
    if (log_.Create(name)) {
        standard.WriteCurrentError(messages::Line(messages::LogNotCreated(name)));
        out.SendTo(MessageWriter::Destination::Nowhere);
        return;
    }
    log_.Redirect();
    out.SendTo(MessageWriter::Destination::Log);
}

LogRedirection::~LogRedirection() {
    log_.Restore();
}

} // namespace vexel
