// The run: start-up checks, the phases in their fixed order, the clean-up
// and the exit status. Phases return what went wrong; only this sequence
// prints it.
#pragma once

#include <cstdint>

#include "driver/message_writer.h"
#include "driver/run_state.h"
#include "os/platform.h"

namespace vexel {

// Makes one whole run and returns its exit status. An unexpected failure is
// reported on standard output after the clean-up and gives ExitUnexpected.
int32_t RunVexel(Platform& platform);

// The phases from the makefile load to the commands, on an armed run: the
// arguments are taken and the log, if any, is in place. Sets run.ExitStatus
// to ExitSuccess when the run succeeds.
void RunPhases(Platform& platform, MessageWriter& out, RunState& run);

} // namespace vexel
