// What each makefile line is: a command line, a line to ignore, or a target
// line; and, inside a target's command range, which lines run.
#pragma once

#include <string_view>

namespace vexel {

enum class LineKind { Command, Ignored, Target };

// A TAB as the first byte makes a command line. Otherwise, after trimming,
// an empty line or one beginning with "#" is ignored, and every other line
// is a target line.
LineKind ClassifyLine(std::string_view line);

// Whether a line inside a stale target's command range runs as a command:
// every line does, blank ones included, except those whose very first byte
// is "#".
bool RunsAsCommand(std::string_view line);

} // namespace vexel
