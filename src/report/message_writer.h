// Message lines: everything the tool says goes through PrintMessage.
#pragma once

#include <cstddef>
#include <string_view>

#include "os/platform.h"

namespace vexel {

// A small buffered writer over standard output. It binds to the standard
// output in force at its first write and keeps it for the rest of the run.
// A line reaches the system in writes of at most BufferSize bytes, and a
// console after every append; PrintMessage flushes each line whole before
// it returns, so no line ever waits in the buffer.
class StandardOutputWriter {
public:
    static constexpr std::size_t BufferSize = 128;

    explicit StandardOutputWriter(OutputStreams& streams) : streams_(streams) {}

    // Each returns 0, or the system's error code of a failed bind or write;
    // after a failure the writer is not used again.
    int Append(std::string_view bytes);
    int Flush();

private:
    int WriteOut();

    OutputStreams& streams_;
    bool bound_ = false;
    bool consoleDevice_ = false;
    std::size_t used_ = 0;
    char buffer_[BufferSize] = {};
};

class MessageWriter {
public:
    explicit MessageWriter(OutputStreams& streams) : streams_(streams), standardOutput_(streams) {}

    // From now on every line goes to the log (or is lost when the log could
    // not be created).
    void UseLog() { logInUse_ = true; }

    // Writes "Vexel: " + text + CR LF to the log or to standard output. A
    // line that cannot be written whole to either raises an input/output
    // failure.
    void PrintMessage(std::string_view text);

private:
    OutputStreams& streams_;
    StandardOutputWriter standardOutput_;
    bool logInUse_ = false;
};

} // namespace vexel
