// The run: the start-up checks, the phases in their fixed order, the
// clean-up and the exit status.
#pragma once

#include <cstdint>

#include "os/platform.h"

namespace vexel {

// Makes one whole run and returns its exit status: ExitSuccess, or
// ExitFailure once the failure of a phase has been said. An unexpected
// failure is reported on the caller's standard output after the clean-up
// and gives ExitUnexpected. A run interrupted while a target's commands
// ran does not return: after the clean-up it ends the tool as interrupted.
int32_t RunVexel(Platform& platform);

} // namespace vexel
