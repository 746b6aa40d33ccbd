// The rules of a target line written plainly, apart from the reader, for the
// fuzz targets to compare with: white space is every byte up to 32; a byte
// is the second of a double-byte character when the run of lead bytes right
// before it is odd.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace vexel::plain {

inline std::string Trimmed(std::string_view text, bool atEnd = true) {
    auto white = [](char byte) { return static_cast<unsigned char>(byte) <= ' '; };
    while (!text.empty() && white(text.front()))
        text.remove_prefix(1);
    while (atEnd && !text.empty() && white(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

inline bool IsSecondByte(std::string_view text, std::size_t at, const LeadByteSet& lead) {
    std::size_t run = 0;
    while (run < at && lead[static_cast<unsigned char>(text[at - run - 1])])
        ++run;
    return run % 2 == 1;
}

inline std::size_t Find(std::string_view text, std::string_view pattern, const LeadByteSet& lead,
                        std::size_t from = 0) {
    for (std::size_t at = from; at + pattern.size() <= text.size(); ++at)
        if (text.substr(at, pattern.size()) == pattern && !IsSecondByte(text, at, lead)) return at;
    return std::string_view::npos;
}

inline std::string QuotedText(std::string_view name, char q, const LeadByteSet& lead) {
    std::string text;
    for (std::size_t at = 1; !name.empty() && name[0] == q && at < name.size(); ++at) {
        if (name[at] != q || IsSecondByte(name, at, lead))
            text += name[at];
        else if (at + 1 < name.size() && name[at + 1] == q)
            text += name[at++];
        else
            return text;
    }
    if (!text.empty()) text.pop_back(); // never closed
    return text;
}

inline std::string Unquote(const std::string& name, const LeadByteSet& lead) {
    for (const char q : {'"', '\''})
        if (std::string text = QuotedText(name, q, lead); !text.empty()) return text;
    return name;
}

struct TargetLine {
    std::string target; // empty when the line has none
    std::vector<std::string> depends;
};

inline TargetLine Read(std::string_view line, const LeadByteSet& lead) {
    TargetLine read;
    const std::size_t separator = Find(line, ": ", lead);
    if (separator == std::string::npos) return read;
    read.target = Trimmed(line.substr(0, separator));
    std::string rest = Trimmed(line.substr(separator + 2));
    if (Find(rest, " ", lead) == std::string::npos) {
        read.depends.push_back(rest);
        return read;
    }
    rest += ' ';
    while (rest.size() >= 2) {
        // A double-quoted name ends at a double quote and a blank behind its
        // opening quote.
        const bool quoted = rest[0] == '"';
        const std::size_t found = quoted ? Find(rest, "\" ", lead, 1) : Find(rest, " ", lead);
        if (found == std::string::npos) {
            read.depends.push_back(rest);
            break;
        }
        read.depends.push_back(Trimmed(rest.substr(0, quoted ? found + 1 : found)));
        rest = Trimmed(rest.substr(found + 1), false);
    }
    return read;
}

} // namespace vexel::plain
