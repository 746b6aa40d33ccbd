// Message lines: everything the tool says goes through PrintMessage.
#pragma once

#include <cstddef>
#include <optional>
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

    explicit StandardOutputWriter(StandardStreams& standard) : standard_(standard) {}

    // Each fails with the system's error code of a failed bind or write;
    // after a failure the writer is not used again.
    std::optional<SystemError> Append(std::string_view bytes);
    std::optional<SystemError> Flush();

private:
    std::optional<SystemError> WriteOut();

    StandardStreams& standard_;
    bool bound_ = false;
    std::size_t used_ = 0;
    char buffer_[BufferSize] = {};
};

class MessageWriter {
public:
    MessageWriter(LogFile& log, StandardStreams& standard)
        : log_(log), standard_(standard), standardOutput_(standard) {}

    // Where the lines go from now on.
    enum class Destination { StandardOutput, Log, Nowhere };
    void SendTo(Destination destination) { destination_ = destination; }

    // Writes "Vexel: " + text + CR LF to standard output or the log, or
    // drops it when a log was named but could not be created. A line that
    // cannot be written whole raises an input/output failure.
    void PrintMessage(std::string_view text);

private:
    LogFile& log_;
    StandardStreams& standard_;
    StandardOutputWriter standardOutput_;
    Destination destination_ = Destination::StandardOutput;
};

} // namespace vexel
