#include "makefile/make_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace vexel {

void MakeLines::Assign(std::string text) {
    // Lines are kept as 32-bit offsets (a makefile is at most 2 GiB).
    if constexpr (sizeof(std::size_t) > sizeof(uint32_t)) {
        if (text.size() > UINT32_MAX) throw std::length_error("a makefile of 4 GiB or more");
    }
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
    // The next CR and the next LF, each searched for again only once the
    // lines have passed it, so that each byte is searched once per kind.
    auto next = [&](char byte, std::size_t from) {
        const void* found = std::memchr(data + from, byte, end - from);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : end;
    };
    std::size_t nextCr = next('\r', position);
    std::size_t nextLf = next('\n', position);
    while (position < end) {
        if (nextCr < position) nextCr = next('\r', position);
        if (nextLf < position) nextLf = next('\n', position);
        const std::size_t start = position;
        position = std::min(nextCr, nextLf);
        spans_.push_back({static_cast<uint32_t>(start), static_cast<uint32_t>(position - start)});
        if (position < end && data[position] == '\r') ++position;
        if (position < end && data[position] == '\n') ++position;
    }
}

} // namespace vexel
