#include "run/command_runner.h"

#include "report/messages.h"
#include "run/target_stamp.h"

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

std::optional<Failure> RunCommand(std::string_view line, const std::string& directory,
                                  ProcessRunner& runner, bool& interrupted) {
    interrupted = false;
    const std::string command(CommandText(line));
    std::unique_ptr<ChildProcess> child;
    if (!command.empty()) child = runner.StartChild(command, directory);
    if (!child) return Failure(messages::CreateProcessError);

    int32_t code = 0;
    ChildProcess::State state;
    do {
        state = child->Query(code);
        runner.Pause(PollInterval);
    } while (state == ChildProcess::State::Running);
    runner.Pause(PollInterval);

    interrupted = state == ChildProcess::State::Interrupted;
    if (interrupted) return std::nullopt;
    if (state == ChildProcess::State::QueryFailed) return Failure(messages::ExitCodeError);
    if (code != 0) return Failure(messages::CommandErrorReturn(code));
    return std::nullopt;
}

std::optional<Failure> RunCommandList(const CommandList& commands, const std::string& directory,
                                      ProcessRunner& runner, FileSystem& files,
                                      MessageWriter& out) {
    runner.PrepareChildStart();
    for (const TargetCommands& target : commands) {
        TargetStamp kept(files, target.TargetFile);
        for (const std::string_view line : target.Lines) {
            out.PrintMessage(line);
            bool interrupted = false;
            std::optional<Failure> failed = RunCommand(line, directory, runner, interrupted);
            if (!failed && !interrupted) continue;
            kept.GiveBack();
            if (interrupted) runner.EndInterrupted();
            return failed;
        }
    }
    return std::nullopt;
}

} // namespace vexel
