#include "run/command_runner.h"

namespace vexel {

int32_t RunCommand(std::string_view line, const std::string& directory, ProcessRunner& runner,
                   MessageWriter& out) {
    out.PrintMessage(line);

    // The TAB that makes the line a command is not part of the program's
    // name; the echo above keeps it.
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    const std::string commandLine(line.substr(start));

    std::unique_ptr<ChildProcess> child;
    if (!commandLine.empty()) child = runner.StartChild(commandLine, directory);
    if (!child) {
        out.PrintMessage("Create Process Error");
        return -1;
    }

    int32_t code = 0;
    ChildProcess::State state;
    do {
        state = child->Query(code);
        runner.Pause(PollInterval);
    } while (state == ChildProcess::State::Running);
    runner.Pause(PollInterval);

    if (state == ChildProcess::State::QueryFailed) {
        out.PrintMessage("Exit Code Error");
        return -1;
    }
    if (code != 0) out.PrintMessage("Command error return(" + std::to_string(code) + ")");
    return code;
}

bool RunCommands(const std::vector<std::string_view>& commands, const std::string& directory,
                 ProcessRunner& runner, MessageWriter& out) {
    if (commands.empty()) return true;
    runner.PrepareChildStart();
    const std::size_t count = commands.size();
    for (std::size_t i = 0; i < count; ++i) {
        if (RunCommand(commands[i], directory, runner, out) != 0) return false;
    }
    return true;
}

} // namespace vexel
