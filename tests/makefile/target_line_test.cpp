// Dependency names with double-byte text. How any target line splits, what
// each name is and how it unquotes is checked against the plain rules by
// fuzz_syntax, whatever the lead bytes.
#include <gtest/gtest.h>

#include "makefile/target_line.h"

namespace vexel {
namespace {

TEST(TargetLine, ABlankAfterAnOddRunOfLeadBytesIsTheSecondByteOfACharacter) {
    LeadByteSet lead{};
    lead[0x81] = true;
    std::vector<DependName> depends;
    ExtractDepends("out: a\x81\x81\x81 b c\x81\x81 d", depends, lead);
    std::vector<std::string> names;
    for (const DependName& name : depends)
        names.push_back(name.Whole());
    EXPECT_EQ(names, (std::vector<std::string>{"a\x81\x81\x81 b", "c\x81\x81", "d"}));
}

} // namespace
} // namespace vexel
