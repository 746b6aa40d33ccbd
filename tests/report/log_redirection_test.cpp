// The log: the lines and the standard streams go to it while it lasts; a log
// that cannot be created leaves the standard streams alone.
#include <gtest/gtest.h>

#include <optional>

#include "fakes/fake_platform.h"
#include "report/log_redirection.h"

namespace vexel {
namespace {

TEST(LogRedirection, LinesGoToTheLogOnlyWhenItIsCreated) {
    for (const bool created : {true, false}) {
        FakeStreams streams;
        if (!created) streams.createFails = SystemError{2};
        MessageWriter out(streams, streams);
        std::optional<LogRedirection> log(std::in_place, streams, streams, out, "x.log");
        out.PrintMessage("line");
        log.reset();
        EXPECT_EQ(streams.events, created ? "redirect restore " : "restore ");
        EXPECT_EQ(streams.log, created ? "Vexel: line\r\n" : "");
        EXPECT_EQ(streams.standardError,
                  created ? "" : "Vexel: Log file x.log cannot be created; messages are lost\r\n");
        EXPECT_EQ(streams.standardOutput, "");
    }
}

} // namespace
} // namespace vexel
