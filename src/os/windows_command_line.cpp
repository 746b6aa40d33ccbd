#include "os/windows_command_line.h"

namespace vexel {

namespace {

constexpr unsigned char Quote = '"';

unsigned char ByteAt(std::string_view text, std::size_t position) {
    return position < text.size() ? static_cast<unsigned char>(text[position]) : 0;
}

struct ArgumentItem {
    std::string text;     // quotes removed; empty only at the end of the text
    std::size_t next = 0; // position where collection stopped
};

// Takes one item off the text from position. The text ends at
// its first NUL byte or at its end.
ArgumentItem NextArgument(std::string_view text, std::size_t position) {
    ArgumentItem item;
    for (;;) {
        while (ByteAt(text, position) >= 1 && ByteAt(text, position) <= 32)
            ++position;
        // An empty quoted pair where an argument begins is no argument.
        if (ByteAt(text, position) == Quote && ByteAt(text, position + 1) == Quote) {
            position += 2;
            continue;
        }
        break;
    }
    while (ByteAt(text, position) > 32) {
        if (ByteAt(text, position) == Quote) {
            ++position;
            while (ByteAt(text, position) != 0 && ByteAt(text, position) != Quote) {
                item.text.push_back(text[position]);
                ++position;
            }
            if (ByteAt(text, position) == Quote) ++position;
        } else {
            item.text.push_back(text[position]);
            ++position;
        }
    }
    item.next = position;
    return item;
}

} // namespace

std::vector<std::string> SplitWindowsCommandLine(std::string_view text) {
    std::vector<std::string> arguments;
    ArgumentItem item = NextArgument(text, 0); // the program's own name
    for (;;) {
        item = NextArgument(text, item.next);
        if (item.text.empty()) break;
        arguments.push_back(std::move(item.text));
    }
    return arguments;
}

} // namespace vexel
