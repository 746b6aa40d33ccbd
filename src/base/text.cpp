#include "base/text.h"

#include <cstring>

namespace vexel {

std::string_view LeftTrim(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsWhiteSpace(text[start]))
        ++start;
    return text.substr(start);
}

void FoldAsciiCase(std::string_view text, std::string& key) {
    key.assign(text);
    for (char& byte : key) {
        if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
    }
}

std::string_view Trim(std::string_view text) {
    text = LeftTrim(text);
    std::size_t end = text.size();
    while (end > 0 && IsWhiteSpace(text[end - 1]))
        --end;
    return text.substr(0, end);
}

namespace {

// The forward scan: right for every lead-byte set.
std::size_t FindTracked(std::string_view text, std::string_view pattern,
                        const LeadByteSet& leadBytes, std::size_t from) {
    const std::size_t last = text.size() - pattern.size();
    TrailTracker tracker(leadBytes);
    for (std::size_t position = 0; position <= last; ++position) {
        // The text ends at a NUL byte; patterns never hold one, so no match
        // can reach past it.
        if (text[position] == '\0') break;
        if (position >= from && !tracker.AtTrailByte() &&
            text.compare(position, pattern.size(), pattern) == 0) {
            return position;
        }
        tracker.Step(text[position]);
    }
    return std::string_view::npos;
}

} // namespace

std::size_t FindPattern(std::string_view text, std::string_view pattern,
                        const LeadByteSet& leadBytes, std::size_t from) {
    if (pattern.empty() || pattern.size() > text.size()) return std::string_view::npos;
    if (leadBytes[static_cast<unsigned char>(pattern[0])]) {
        return FindTracked(text, pattern, leadBytes, from);
    }
    // The pattern cannot begin inside a run of lead bytes, so the runs in
    // front of two candidates never overlap and counting each one back from
    // its candidate stays linear.
    std::size_t position = from;
    for (;;) {
        position = text.find(pattern, position);
        if (position == std::string_view::npos) return position;
        std::size_t run = 0;
        while (run < position && leadBytes[static_cast<unsigned char>(text[position - run - 1])]) {
            ++run;
        }
        if (run % 2 == 0) break;
        ++position;
    }
    if (std::memchr(text.data(), '\0', position) != nullptr) return std::string_view::npos;
    return position;
}

} // namespace vexel
