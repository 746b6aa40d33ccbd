// Target records for the tests of the analysis.
#pragma once

#include <gtest/gtest.h>

#include "depend/target_record.h"

namespace vexel {

// The records of a makefile that reads without error.
inline DependList RecordsOf(const std::string& text) {
    MakeLines lines;
    lines.Assign(text);
    std::vector<TargetEntry> entries;
    EXPECT_EQ(ReadTargets(lines, LeadByteSet{}, entries).error, ReadError::None) << text;
    return MakeDependList(std::move(entries));
}

// count blank records.
inline DependList BlankRecords(std::size_t count) {
    DependList records;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(std::make_unique<TDepend>());
    return records;
}

} // namespace vexel
