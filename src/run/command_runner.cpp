#include "run/command_runner.h"

namespace vexel {

namespace {

// The text a command is started with: the line without its leading blanks
// and TABs. The echo shows the line unchanged.
std::string_view CommandText(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    return line.substr(start);
}

} // namespace

CommandResult RunCommand(std::string_view line, const std::string& directory,
                         ProcessRunner& runner) {
    const std::string command(CommandText(line));
    std::unique_ptr<ChildProcess> child;
    if (!command.empty()) child = runner.StartChild(command, directory);
    if (!child) return {CommandResult::Kind::NotStarted, 0};

    int32_t code = 0;
    ChildProcess::State state;
    do {
        state = child->Query(code);
        runner.Pause(PollInterval);
    } while (state == ChildProcess::State::Running);
    runner.Pause(PollInterval);

    if (state == ChildProcess::State::QueryFailed) return {CommandResult::Kind::EndUnknown, 0};
    return {CommandResult::Kind::Ended, code};
}

} // namespace vexel
