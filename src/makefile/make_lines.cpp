#include "makefile/make_lines.h"

#include <cstring>

namespace vexel {

void MakeLines::Assign(std::string text) {
    text_ = std::move(text);
    spans_.clear();
    const char* data = text_.data();
    std::size_t end = text_.size();
    if (const void* nul = std::memchr(data, '\0', end)) {
        end = static_cast<std::size_t>(static_cast<const char*>(nul) - data);
    }
    std::size_t position = 0;
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
