#include "makefile/line_kind.h"

#include "base/text.h"

namespace vexel {

LineKind ClassifyLine(std::string_view line) {
    if (!line.empty() && line[0] == '\t') return LineKind::Command;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') return LineKind::Ignored;
    return LineKind::Target;
}

bool IsRunInRange(std::string_view line) {
    return line.empty() || line[0] != '#';
}

std::string_view CommandText(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    return line.substr(start);
}

} // namespace vexel
