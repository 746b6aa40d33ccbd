// Target entries, their command ranges, and the errors that stop reading.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "makefile/makefile_reader.h"

namespace vexel {
namespace {

TEST(ReadTargets, GivesCommandRangesAndStopsAtTheFirstBadTargetLine) {
    // Makefile, then each entry as "target CmdFirst..CmdLast|" and the error.
    const std::pair<std::string, std::string> cases[] = {
        {"\n  \n# c\n  # c\n", " -1..-1|"},
        {"\tpre\n\tpre2\napp: lib\n", " 0..1|app -1..-1|"},
        {"app: lib\n\n# c\n\tone\n\n#x\n \t# y\n\ttwo\n\n# z\n\t\n", " -1..-1|app 3..10|"},
        {"a: b\n\t#no comment\n \tc: d\n\tx\nout: a#b\n", " -1..-1|a 1..1|c 3..3|out -1..-1|"},
        {"a: b\n\tx\nc: d\nbad line\ne: f\n", " -1..-1|a 1..1|c -1..-1|syntax"},
        {"a: x\nA: y\n\"a\": z\n", " -1..-1|a -1..-1|A -1..-1|\"a\" -1..-1|"},
        {"\"my t\": a\n\tx\n \"my t\": b\n", " -1..-1|\"my t\" 1..1|dup \"my t\""}};
    for (const auto& [text, expected] : cases) {
        MakeLines lines;
        lines.Assign(text);
        std::vector<TargetEntry> entries;
        const ReadOutcome outcome = ReadTargets(lines, LeadByteSet{}, entries);
        std::string got;
        for (const TargetEntry& e : entries)
            got += e.Target + " " + std::to_string(e.CmdFirst) + ".." + std::to_string(e.CmdLast) +
                   "|";
        if (outcome.error == ReadError::TargetLineSyntax) got += "syntax";
        if (outcome.error == ReadError::DupTarget) got += "dup " + outcome.dupTarget;
        EXPECT_EQ(got, expected) << text;
    }
}

TEST(LoadMakefile, AnyFailureOfTheLoadIsFalse) {
    struct Failing : FakeFiles {
        bool fails = false;
        bool ReadWholeFile(const std::string&, std::string& contents) override {
            if (!fails) throw std::bad_alloc();
            contents = "partial";
            return false;
        }
    } files;
    MakeLines lines;
    EXPECT_FALSE(LoadMakefile(files, "mk", lines));
    files.fails = true;
    EXPECT_FALSE(LoadMakefile(files, "mk", lines));
    EXPECT_EQ(lines.Count(), 0u);
}

} // namespace
} // namespace vexel
