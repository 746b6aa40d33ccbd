// Collecting the command lines of the stale records, in list order.
#include <gtest/gtest.h>

#include "depend/command_list.h"
#include "depend/records.h"

namespace vexel {
namespace {

TEST(CollectCommands, TakesStaleRangesWithoutFirstColumnComments) {
    const std::string text = "\troot\nfresh: x\n\tno\nstale: y\n\tone\n\n#\tskipped\n # two\n\t#\n";
    Makefile makefile(text);
    makefile[2].Stale = true;
    CommandList commands;
    CollectCommands(makefile.graph->MakefileOrder(), makefile.lines, commands);
    EXPECT_EQ(commands, (CommandList{"\troot", "\tone", "", " # two", "\t#"}));
}

} // namespace
} // namespace vexel
