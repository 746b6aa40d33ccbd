// The first name a pattern matches on disk, found by walking the directories
// in sorted order instead of building the whole expansion.
#pragma once

#include <optional>
#include <string>

namespace vexel {

// The name that glob(pattern, 0) would give first (its escapes, classes,
// hidden names, a trailing '/' and all), or nothing when it matches none.
// Unreadable directories hold no matches. Memory stays within the number of
// the pattern's components times a directory's size, however large the
// tree below.
std::optional<std::string> FirstMatch(const std::string& pattern);

} // namespace vexel
