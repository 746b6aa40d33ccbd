#include "os/posix/child_arguments.h"

namespace vexel {

namespace {

bool IsBlank(char byte) {
    return byte == ' ' || byte == '\t';
}

} // namespace

std::vector<std::string> SplitChildArguments(std::string_view command) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const std::size_t n = command.size();

    // In the program name every double quote opens or closes a quoted
    // stretch, and backslashes are ordinary bytes.
    std::string program;
    bool quotedName = false;
    for (; i < n && (quotedName || !IsBlank(command[i])); ++i) {
        if (command[i] == '"') {
            quotedName = !quotedName;
        } else {
            program.push_back(command[i]);
        }
    }
    arguments.push_back(std::move(program));

    for (;;) {
        while (i < n && IsBlank(command[i]))
            ++i;
        if (i >= n) break;
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(command[i]))) {
            std::size_t backslashes = 0;
            while (i < n && command[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < n && command[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument.push_back('"');
                    ++i;
                } else if (quoted && i + 1 < n && command[i + 1] == '"') {
                    argument.push_back('"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.append(backslashes, '\\');
                if (i < n && (quoted || !IsBlank(command[i]))) argument.push_back(command[i++]);
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

} // namespace vexel
