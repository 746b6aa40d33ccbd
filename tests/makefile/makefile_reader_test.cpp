// Target records, their command ranges, and the errors that stop reading.
#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "makefile/makefile_reader.h"

namespace vexel {
namespace {

// What a record says, names as text.
struct Record {
    std::string target{}; // empty for the root record
    std::vector<std::string> names{};
    std::pair<int32_t, int32_t> lines{-1, -1}; // of its commands: CmdFirst, CmdLast
    bool operator==(const Record&) const = default;
};

TEST(ReadTargets, GivesCommandRangesAndStopsAtTheFirstBadTargetLine) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<Record> records{};     // the root record first; none after a failure
        std::vector<std::string> failed{}; // the failure's lines, if any
    };
    // clang-format off
    const Case cases[] = {
        {.name = "no target line", .text = "\n  \n# c\n  # c\n", .records = {{}}},
        {.name = "the root record's commands", .text = "\tpre\n\tpre2\napp: lib\n",
         .records = {{.lines = {0, 1}}, {.target = "app", .names = {"lib"}}}},
        {.name = "a range spans blank lines and comments",
         .text = "app: lib\n\n# c\n\tone\n\n#x\n \t# y\n\ttwo\n\n# z\n\t\n",
         .records = {{}, {.target = "app", .names = {"lib"}, .lines = {3, 10}}}},
        {.name = "indented target lines, and names with # and quotes",
         .text = "a: b\n\t#no comment\n \tc: d e\n\tx\nout: a#b \"a \n",
         .records = {{}, {.target = "a", .names = {"b"}, .lines = {1, 1}},
                     {.target = "c", .names = {"d", "e"}, .lines = {3, 3}},
                     {.target = "out", .names = {"a#b", "\"a "}}}},
        {.name = "the first bad line ends the reading", .text = "a: b\nbad\na: c\n",
         .failed = {"Target Line Syntax error"}}};
    // clang-format on
    for (const Case& c : cases) {
        MakeLines lines;
        lines.Assign(c.text);
        MakefileTargets read;
        const std::optional<Failure> failed = ReadTargets(lines, LeadByteSet{}, read);
        std::vector<Record> records;
        for (const TDepend& r : read.records) {
            Record& record = records.emplace_back();
            if (r.Target != NoName) record.target = read.names[r.Target];
            for (const NameId name : r.Depends)
                record.names.emplace_back(read.names[name]);
            record.lines = {r.CmdFirst, r.CmdLast};
        }
        EXPECT_EQ(failed ? failed->messages : std::vector<std::string>{}, c.failed) << c.name;
        EXPECT_TRUE(failed || records == c.records) << c.name; // none used after a failure
    }
}

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
