// The start-up checks: what must hold before a run creates anything.
#pragma once

#include <optional>

#include "driver/run_state.h"
#include "os/platform.h"
#include "report/failure.h"

namespace vexel {

// COMSPEC must be set (its value is never used), at most two arguments are
// given, and a log named must not be the makefile's own file. Fills the
// makefile's and the log's names; creates nothing. What fails, in this
// order: "EnvNotExists" or "EnvLengthOver" with "Get Env(COMSPEC) Error",
// "Param Error", "MakeFile Open Error".
std::optional<Failure> CheckStartUp(Platform& platform, RunState& run);

// Whether the log named is the makefile's own file, however it is spelt:
// created, it would destroy the makefile, or be read as the makefile.
bool LogIsTheMakefile(FileSystem& files, const RunState& run);

} // namespace vexel
