// Running the command lines, one child process at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "depend/command_list.h"
#include "os/platform.h"
#include "report/failure.h"
#include "report/message_writer.h"

namespace vexel {

constexpr unsigned PollInterval = 100; // milliseconds

// Starts the line, without its leading blanks and TABs, in directory, and
// polls until the child has ended, pausing PollInterval after every query
// and once more at the end. What went wrong when the command does not end
// with exit code 0: "Create Process Error" (it could not be started),
// "Command error return(" + its exit code + ")", or "Exit Code Error" (its
// end could not be learnt).
std::optional<Failure> RunCommand(std::string_view line, const std::string& directory,
                                  ProcessRunner& runner);

// Prepares the start of children once, then echoes each line as a message
// line and runs it, in order; stops at the first one that fails. The file of
// the target whose command fails, or during whose commands the tool is
// interrupted (see ProcessRunner::BeginTarget), gets the time it had before
// that target's first command (see TargetStamp); after an interruption the
// tool then ends by it.
// The lines are those of the makefile whose names hold leadBytes.
std::optional<Failure> RunCommandList(const CommandList& commands, const MakeLines& lines,
                                      const LeadByteSet& leadBytes, const std::string& directory,
                                      ProcessRunner& runner, FileSystem& files, MessageWriter& out);

} // namespace vexel
