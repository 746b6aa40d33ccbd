// Message lines: their form, how they reach standard output, and a failed
// write.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "report/message_writer.h"
#include "report/unexpected_failure.h"

namespace vexel {
namespace {

// A line reaches standard output in writes of at most 128 bytes, all of it
// before PrintMessage returns.
TEST(MessageWriter, LineIsWrittenWholeIn128ByteWrites) {
    FakeStreams streams;
    MessageWriter out(streams, streams);
    out.PrintMessage(std::string(300, 'x'));
    out.PrintMessage("Target is up to date.");
    EXPECT_EQ(streams.events, "write(128) write(128) write(53) write(30) ");
    EXPECT_EQ(streams.standardOutput,
              "Vexel: " + std::string(300, 'x') + "\r\nVexel: Target is up to date.\r\n");
}

TEST(MessageWriter, FailedWriteIsAnInputOutputFailure) {
    using enum MessageWriter::Destination;
    for (const auto& [to, where] :
         {std::pair{StandardOutput, "standard output"}, {Log, "the log"}}) {
        FakeStreams streams;
        streams.writeFails = SystemError{28};
        MessageWriter out(streams, streams);
        out.SendTo(to);
        try {
            out.PrintMessage("line");
            ADD_FAILURE() << where;
        } catch (const UnexpectedFailure& failure) {
            EXPECT_EQ(failure.what(),
                      "I/O error 28: writing to " + std::string(where) + " failed (error 28)");
        }
    }
}

} // namespace
} // namespace vexel
