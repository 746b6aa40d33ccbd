// The state of one run, handed to each phase in turn.
#pragma once

#include <cstdint>
#include <string>

#include "depend/depend.h"
#include "depend/staleness.h"
#include "makefile/make_lines.h"

namespace vexel {

struct RunState {
    int32_t ExitStatus = -1; // 0 only once the run has succeeded
    std::string ComSpecValue;
    std::string StartDir;
    std::string MakeFileName;
    std::string LogFileName; // non-empty: message lines go to the log
    MakeLines Lines;
    DependList Depends;
    CommandList Commands;
};

} // namespace vexel
