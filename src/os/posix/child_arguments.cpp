#include "os/posix/child_arguments.h"

namespace vexel {

namespace {

bool IsBlank(char byte) {
    return byte == ' ' || byte == '\t';
}

} // namespace

std::vector<std::string> SplitChildArguments(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::size_t i = 0;
    const std::size_t n = commandLine.size();

    // In the program name every double quote opens or closes a quoted
    // stretch, and backslashes are ordinary bytes.
    std::string program;
    bool quotedName = false;
    for (; i < n && (quotedName || !IsBlank(commandLine[i])); ++i) {
        if (commandLine[i] == '"') {
            quotedName = !quotedName;
        } else {
            program.push_back(commandLine[i]);
        }
    }
    arguments.push_back(std::move(program));

    for (;;) {
        while (i < n && IsBlank(commandLine[i]))
            ++i;
        if (i >= n) break;
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(commandLine[i]))) {
            std::size_t backslashes = 0;
            while (i < n && commandLine[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < n && commandLine[i] == '"') {
                argument.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    argument.push_back('"');
                    ++i;
                } else if (quoted && i + 1 < n && commandLine[i + 1] == '"') {
                    argument.push_back('"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.append(backslashes, '\\');
                if (i < n && (quoted || !IsBlank(commandLine[i])))
                    argument.push_back(commandLine[i++]);
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

} // namespace vexel
