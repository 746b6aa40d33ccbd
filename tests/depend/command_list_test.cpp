// Collecting the command lines of the stale records, in list order, grouped
// by the file each record makes.
#include <gtest/gtest.h>

#include "depend/command_list.h"
#include "depend/records.h"

namespace vexel {
namespace {

TEST(CollectCommands, TakesStaleRangesWithoutFirstColumnComments) {
    const std::string text = "\troot\nfresh: x\n\tno\n\"st ale\": y\n\tone\n\n#\tskipped\n # two\n"
                             "\t#\nnone: z\n#\tonly a comment\n";
    Makefile makefile(text);
    makefile[2].Stale = makefile[3].Stale = true;
    CommandList commands;
    CollectCommands(makefile.graph->MakefileOrder(), makefile.lines, makefile.targets.names,
                    LeadByteSet{}, commands);
    EXPECT_EQ(commands,
              (CommandList{{"", {"\troot"}}, {"st ale", {"\tone", "", " # two", "\t#"}}}));
}

} // namespace
} // namespace vexel
