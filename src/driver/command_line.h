// Splitting the command line into the tool's arguments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "os/platform.h"

namespace vexel {

struct ArgumentItem {
    std::string text;     // quotes removed; empty only at the end of the text
    std::size_t next = 0; // position where collection stopped
};

// Takes one item off the command-line text from position. The text ends at
// its first NUL byte or at its end.
ArgumentItem NextArgument(std::string_view text, std::size_t position);

// The arguments after the program's own name, up to the first empty item.
std::vector<std::string> SplitArguments(std::string_view commandLine);

// The tool's arguments: the command-line text split by the rules above where
// the platform gives one, else the platform's argument vector without its
// empty entries (an empty argument cannot be given on the command line).
std::vector<std::string> ReadArguments(Platform& platform);

} // namespace vexel
