// MakeLines: the makefile's lines in file order, each without its line end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexel {

class MakeLines {
public:
    // Takes the makefile's text and splits it: a line ends at CR LF, LF or
    // CR; the text ends at its first NUL byte; a line end at the very end
    // adds no empty line. A UTF-8 byte-order mark (EF BB BF) at the very
    // start is no part of the first line; anywhere else those bytes stay.
    // A text of 4 GiB or more is refused with std::length_error (a makefile
    // is at most 2 GiB).
    void Assign(std::string text);

    std::size_t Count() const { return spans_.size(); }
    std::string_view operator[](std::size_t index) const {
        const Span& span = spans_[index];
        return std::string_view(text_).substr(span.offset, span.length);
    }

private:
    struct Span {
        uint32_t offset;
        uint32_t length;
    };
    std::string text_;
    std::vector<Span> spans_;
};

} // namespace vexel
