// Target records for the tests of the analysis.
#pragma once

#include <gtest/gtest.h>

#include "depend/target_record.h"

namespace vexel {

// The records of a makefile that reads without error, with the names and
// lines they view. Made in place: it views itself.
struct Makefile {
    explicit Makefile(const std::string& text) {
        lines.Assign(text);
        EXPECT_EQ(ReadTargets(lines, LeadByteSet{}, targets).error, ReadError::None) << text;
        records = MakeDependList(targets.entries);
    }
    Makefile(const Makefile&) = delete;

    std::string Name(NameId id) const { return id == NoName ? "" : std::string(targets.names[id]); }

    MakeLines lines;
    MakefileTargets targets;
    DependList records;
};

// count blank records, with no names; Target stays NoName.
inline DependList BlankRecords(std::size_t count) {
    DependList records;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(std::make_unique<TDepend>());
    return records;
}

} // namespace vexel
