// Running the command lines, one child process at a time.
#pragma once

#include <optional>
#include <string_view>

#include "depend/command_list.h"
#include "os/platform.h"
#include "report/failure.h"
#include "report/message_writer.h"

namespace vexel {

constexpr unsigned PollInterval = 100; // milliseconds

// Starts the line, without its leading blanks and TABs, and polls until the
// child has ended, pausing PollInterval after every query and once more at
// the end. What went wrong when the command does not end with exit code 0:
// "Create Process Error" (it could not be started), "Command error
// return(" + its exit code + ")", or "Exit Code Error" (its end could not
// be learnt).
std::optional<Failure> RunCommand(std::string_view line, ProcessRunner& runner);

// Prepares the start of children once, then echoes each line as a message
// line and runs it, in order; stops at the first one that fails, or when the
// tool is interrupted while a target's commands run (see
// ProcessRunner::HoldInterruptions), which is then the failure returned.
// The file of that target gets the time it had before the target's first
// command (see TargetStamp).
std::optional<Failure> RunCommandList(const CommandList& commands, const MakeLines& lines,
                                      ProcessRunner& runner, FileSystem& files, MessageWriter& out);

} // namespace vexel
