// Which names are patterns: a name holding "*" or "?" stands for the first
// file it matches, on every platform.
#pragma once

#include <string_view>

namespace vexel {

inline bool IsPattern(std::string_view name) {
    return name.find_first_of("*?") != std::string_view::npos;
}

} // namespace vexel
