// The run sequence: the report of an unexpected failure, and the end of an
// interrupted run.
#include <gtest/gtest.h>

#include <regex>

#include "driver/run_sequence.h"
#include "fakes/fake_platform.h"

namespace vexel {
namespace {

TEST(RunVexel, UnexpectedFailureIsReportedOnStandardOutputAfterTheLogIsRestored) {
    FakePlatform fake;
    fake.facts.arguments = {"mk", "log"};
    fake.files.makefile = "out: in\n";
    fake.files.stampRunsOutOfMemory = true;
    Platform platform = fake.Get();
    EXPECT_EQ(RunVexel(platform), 1);
    EXPECT_EQ(fake.streams.events, "redirect restore report ");
    // Kind, module file, code address (two hex digits a byte), text, full stop.
    const std::regex report(".*OutOfMemory.* C:\\\\vexel\\.exe at 0x[0-9A-F]{" +
                            std::to_string(2 * sizeof(void*)) + "}: .*bad_alloc.*\\.\r\n");
    EXPECT_TRUE(std::regex_match(fake.streams.standardOutput, report))
        << fake.streams.standardOutput;
}

// Interrupted during a target's command, the run says nothing more, cleans up
// (the log closed and the standard handles restored), and only then ends as
// interrupted, once interruptions are no longer held.
TEST(RunVexel, InterruptedRunEndsOnlyAfterTheCleanUp) {
    FakePlatform fake;
    fake.facts.arguments = {"mk", "log"};
    fake.files.makefile = "out: in\n\tcc\n";
    fake.processes.interruptAt = 1;
    std::string cleanedUp;
    fake.processes.onEnd = [&] { cleanedUp = fake.streams.events; };
    Platform platform = fake.Get();
    EXPECT_THROW(RunVexel(platform), FakeProcesses::Ended);
    EXPECT_EQ(cleanedUp, "redirect restore ");
    EXPECT_TRUE(fake.processes.events.ends_with("release end(15) ")) << fake.processes.events;
}

} // namespace
} // namespace vexel
