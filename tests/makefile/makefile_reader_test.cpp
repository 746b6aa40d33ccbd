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
        {"\tpre\n\tpre2\napp: lib\n", " 0..1|app,lib -1..-1|"},
        {"app: lib\n\n# c\n\tone\n\n#x\n \t# y\n\ttwo\n\n# z\n\t\n", " -1..-1|app,lib 3..10|"},
        {"a: b\n\t#no comment\n \tc: d e\n\tx\nout: a#b \"a \n",
         " -1..-1|a,b 1..1|c,d,e 3..3|out,a#b,\"a  -1..-1|"},
        {"a: b\n\tx\nc: d\nbad line\ne: f\n",
         " -1..-1|a,b 1..1|c,d -1..-1|Target Line Syntax error"},
        {"a: x\nA: y\n\"a\": z\n", " -1..-1|a,x -1..-1|A,y -1..-1|\"a\",z -1..-1|"},
        {"\"my t\": a\n\tx\n \"my t\": b\n", " -1..-1|\"my t\",a 1..1|Dup Target \"my t\""}};
    for (const auto& [text, expected] : cases) {
        MakeLines lines;
        lines.Assign(text);
        MakefileTargets targets;
        const std::optional<Failure> failed = ReadTargets(lines, LeadByteSet{}, targets);
        std::string got;
        for (const TargetEntry& e : targets.entries) {
            if (e.Target != NoName) got.append(targets.names[e.Target]);
            for (const NameId name : e.Depends)
                got.append(",").append(targets.names[name]);
            got.append(" ").append(std::to_string(e.CmdFirst)).append("..");
            got.append(std::to_string(e.CmdLast)).append("|");
        }
        for (const std::string& message : failed ? failed->messages : std::vector<std::string>{})
            got += message;
        EXPECT_EQ(got, expected) << text;
    }
}

TEST(LoadMakefile, AnyFailureOfTheLoadIsMakeFileOpenError) {
    struct Failing : FakeFiles {
        bool fails = false;
        std::optional<std::string> ReadWholeFile(const std::string&) override {
            if (!fails) throw std::bad_alloc();
            return std::nullopt;
        }
    } files;
    MakeLines lines;
    const std::vector<std::string> error{"MakeFile Open Error"};
    EXPECT_EQ(LoadMakefile(files, "mk", lines)->messages, error);
    files.fails = true;
    EXPECT_EQ(LoadMakefile(files, "mk", lines)->messages, error);
    EXPECT_EQ(lines.Count(), 0u);
}

} // namespace
} // namespace vexel
