#include "makefile/make_lines.h"

#include <cstring>
#include <string_view>

namespace vexel {

void MakeLines::Assign(std::string text) {
    text_ = std::move(text);
    spans_.clear();
    const char* data = text_.data();
    std::size_t end = text_.size();
    if (const void* nul = std::memchr(data, '\0', end)) {
        end = static_cast<std::size_t>(static_cast<const char*>(nul) - data);
    }
    // Editors on Windows often save "UTF-8 with BOM"; left in, the mark
    // would become part of the first target's name or turn a command line
    // into a target line.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    std::size_t position = 0;
    if (std::string_view(data, end).starts_with(byteOrderMark)) position = byteOrderMark.size();
    while (position < end) {
        const std::size_t start = position;
        while (position < end && data[position] != '\r' && data[position] != '\n')
            ++position;
        spans_.push_back({start, position - start});
        if (position < end && data[position] == '\r') ++position;
        if (position < end && data[position] == '\n') ++position;
    }
}

} // namespace vexel
