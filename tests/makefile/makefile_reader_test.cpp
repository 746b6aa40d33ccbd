// Loading the makefile. The records read from it, their command ranges and
// the errors that stop reading are checked against the plain procedure by
// fuzz_run.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "makefile/makefile_reader.h"

namespace vexel {
namespace {

TEST(LoadMakefile, AnyFailureOfTheLoadIsMakeFileOpenError) {
    struct Failing : FakeFiles {
        int reads = 0; // the first runs out of memory, the next fails
        std::optional<std::string> ReadWholeFile(const std::string&) override {
            if (reads++ == 0) throw std::bad_alloc();
            return std::nullopt;
        }
    } files;
    MakeLines lines;
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(LoadMakefile(files, "mk", lines)->messages,
                  std::vector<std::string>{"MakeFile Open Error"});
    EXPECT_EQ(lines.Count(), 0u);
}

} // namespace
} // namespace vexel
