#include "driver/log_redirection.h"

#include "driver/messages.h"

namespace vexel {

LogRedirection::LogRedirection(OutputStreams& streams, MessageWriter& out, const std::string& name)
    : streams_(streams) {
    if (!streams_.CreateLog(name))
        streams_.WriteCurrentStandardError(messages::LogNotCreated(name));
    streams_.RedirectToLog();
    out.UseLog();
}

LogRedirection::~LogRedirection() {
    streams_.RestoreFromLog();
}

} // namespace vexel
