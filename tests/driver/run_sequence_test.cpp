// The run sequence: the report of an unexpected failure.
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

} // namespace
} // namespace vexel
