// TDepend: the record of one target of the makefile.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "os/platform.h"

namespace vexel {

class TDepend;

// Records that depend on a target. Records whose targets match the same
// names have the same dependents, so they share one list.
using DependentList = std::vector<TDepend*>;

class TDepend {
public:
    TDepend() = default;
    TDepend(const TDepend&) = delete;
    TDepend& operator=(const TDepend&) = delete;
    virtual ~TDepend() = default;

    // Takes a trimmed target line: sets Line, Target and appends to Depends.
    virtual void SetLine(std::string_view line, const LeadByteSet& leadBytes);

    // Marks this record and every record reachable through Dependents with
    // value, and gives each record it enters the length of the longest chain
    // of Dependents links that starts at it as Level.
    virtual void SetStale(bool value);

    // Appends a record to Dependents, creating the list on first use.
    void AddDependent(TDepend* dependent);

    // Dependents, empty when there are none.
    const DependentList& DependentsList() const;

    std::string Line;
    bool Stale = false;
    int32_t Level = 0;
    std::string Target;
    double TargetAge = -1.0;
    std::vector<std::string> Depends;
    std::shared_ptr<DependentList> Dependents; // refers to records, owns none
    int32_t CmdFirst = -1;
    int32_t CmdLast = -1;
};

// Every record of the run, the root record first. It owns the records.
using DependList = std::vector<std::unique_ptr<TDepend>>;

} // namespace vexel
