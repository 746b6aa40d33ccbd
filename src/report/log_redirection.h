// The log file: standard output and standard error point at it while a run
// that names one goes on.
#pragma once

#include <string>

#include "os/platform.h"
#include "report/message_writer.h"

namespace vexel {

// Creates the log and points the standard handles and the message lines at
// it for its lifetime; closing the log and restoring the handles is the
// first step of every clean-up. A log that cannot be created is told once
// on the caller's standard error, and the run goes on without one, the
// standard handles left as they were.
class LogRedirection {
public:
    LogRedirection(LogFile& log, StandardStreams& standard, MessageWriter& out,
                   const std::string& name);
    LogRedirection(const LogRedirection&) = delete;
    LogRedirection& operator=(const LogRedirection&) = delete;
    ~LogRedirection();

private:
    LogFile& log_;
};

} // namespace vexel
