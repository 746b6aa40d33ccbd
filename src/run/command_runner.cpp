#include "run/command_runner.h"

#include "makefile/line_kind.h"

namespace vexel {

CommandResult RunCommand(std::string_view line, const std::string& directory,
                         ProcessRunner& runner) {
    const std::string commandLine(CommandText(line));
    std::unique_ptr<ChildProcess> child;
    if (!commandLine.empty()) child = runner.StartChild(commandLine, directory);
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
