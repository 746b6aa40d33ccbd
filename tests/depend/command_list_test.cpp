// Collecting the command lines of the stale records, in list order.
#include <gtest/gtest.h>

#include "depend/command_list.h"
#include "depend/graph_of_makefile.h"

namespace vexel {
namespace {

TEST(CollectCommands, TakesStaleRangesWithoutFirstColumnComments) {
    const std::string text = "\troot\nfresh: x\n\tno\nstale: y\n\tone\n\n#\tskipped\n # two\n\t#\n";
    GraphOfMakefile g(text);
    g[2].Stale = true;
    CommandList commands;
    CollectCommands(g.graph->MakefileOrder(), g.lines, commands);
    EXPECT_EQ(commands, (CommandList{"\troot", "\tone", "", " # two", "\t#"}));
}

} // namespace
} // namespace vexel
