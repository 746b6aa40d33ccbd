// The tool's own arguments: how the text Windows gives a program as its
// command line splits into them, by the tool's own rules. Blanks and
// control bytes separate, a double-quoted stretch may hold blanks, there is
// no escape, and an empty quoted pair is no argument. (A command of the
// makefile is split by its own program, not by these rules.)
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vexel {

// The arguments after the program's own name, up to the first empty item.
std::vector<std::string> SplitWindowsCommandLine(std::string_view text);

} // namespace vexel
