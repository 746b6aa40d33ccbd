#include "makefile/line_kind.h"

#include "base/text.h"

namespace vexel {

LineKind ClassifyLine(std::string_view line) {
    if (!line.empty() && line[0] == '\t') return LineKind::Command;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') return LineKind::Ignored;
    return LineKind::Target;
}

bool RunsAsCommand(std::string_view line) {
    return line.empty() || line[0] != '#';
}

} // namespace vexel
