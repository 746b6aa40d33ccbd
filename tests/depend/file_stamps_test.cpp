// Which file each name stands for: names that unquote alike share one file,
// asked for once; a quoted name whose text begins with a quote itself names
// that text; no other name has a stamp.
#include <gtest/gtest.h>

#include <stdexcept>

#include "depend/file_stamps.h"
#include "depend/graph_of_makefile.h"

namespace vexel {
namespace {

TEST(FileStamps, NamesThatStandForOneFileShareIt) {
    FakeFiles files;
    files.stampOf = [](const std::string& name) { return AgeStamp::At(name.size(), 0); };
    FileStamps stamps(files, 1);
    GraphOfMakefile g("\"x y\": x 'x' \"x\" \"'x'\"\n", &stamps);
    const FileStampTable table = stamps.AwaitStamps(g.graph->Names());
    EXPECT_EQ(files.stampQueries, (std::map<std::string, int>{{"x", 1}, {"x y", 1}, {"'x'", 1}}));
    for (const char* name : {"x", "'x'", "\"x\""})
        EXPECT_EQ(table.StampOf(g.graph->Names().Find(name)), AgeStamp::At(1, 0)) << name;
    EXPECT_EQ(table.StampOf(g.graph->Names().Find("\"'x'\"")), AgeStamp::At(3, 0));
    EXPECT_THROW(table.StampOf(g.graph->Names().Count()), std::out_of_range);
}

} // namespace
} // namespace vexel
