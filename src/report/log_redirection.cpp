#include "report/log_redirection.h"

#include "report/messages.h"

namespace vexel {

LogRedirection::LogRedirection(OutputStreams& streams, MessageWriter& out, const std::string& name)
    : streams_(streams) {
    if (!streams_.CreateLog(name))
        streams_.WriteCurrentStandardError(messages::Line(messages::LogNotCreated(name)));
    streams_.RedirectToLog();
    out.UseLog();
}

LogRedirection::~LogRedirection() {
    streams_.RestoreFromLog();
}

} // namespace vexel
