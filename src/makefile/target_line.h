// The syntax of a target line: "target: dependency dependency ...".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace vexel {

// The target name: the text before the first ": ", trimmed; empty when the
// line has no separator or only white space before it. A view into line.
std::string_view ExtractTarget(std::string_view line, const LeadByteSet& leadBytes);

// A dependency name, as a stretch of its line. With blankAdded the name goes
// on with one blank that the line does not hold: the last name of a line
// whose double quote is never closed.
struct DependName {
    std::string_view text;
    bool blankAdded = false;

    std::string Whole() const { return std::string(text) + (blankAdded ? " " : ""); }
};

// Appends the dependency names after the separator, in line order, quotes
// kept. Adds nothing when the line has no separator.
void ExtractDepends(std::string_view line, std::vector<DependName>& names,
                    const LeadByteSet& leadBytes);

// Whether the name is unquoted for file access: it begins with a double or a
// single quote.
inline bool IsQuoted(std::string_view name) {
    return !name.empty() && (name[0] == '"' || name[0] == '\'');
}

// The name for file access: the text inside surrounding double quotes, else
// inside surrounding single quotes, else the name unchanged.
std::string Unquote(std::string_view name, const LeadByteSet& leadBytes);

} // namespace vexel
