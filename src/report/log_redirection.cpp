#include "report/log_redirection.h"

#include "report/messages.h"

namespace vexel {

LogRedirection::LogRedirection(OutputStreams& streams, MessageWriter& out, const std::string& name)
    : streams_(streams) {
    // Without a log the caller's standard output and error stay as they
    // were, so that the commands' own output is not lost with the lines.
    if (streams_.CreateLog(name))
        streams_.RedirectToLog();
    else
        streams_.WriteCurrentStandardError(messages::Line(messages::LogNotCreated(name)));
    out.UseLog();
}

LogRedirection::~LogRedirection() {
    streams_.RestoreFromLog();
}

} // namespace vexel
