#include "execution/command_runner.h"

#include "execution/target_stamp.h"
#include "makefile/line_kind.h"
#include "report/messages.h"

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

std::optional<Failure> RunCommand(std::string_view line, ProcessRunner& runner) {
    const std::string command(CommandText(line));
    std::optional<std::unique_ptr<ChildProcess>> child;
    if (!command.empty()) child = runner.StartChild(command);
    if (!child) return Failure(messages::CreateProcessError);

    std::optional<ChildStatus> status;
    do {
        status = (*child)->Query();
        runner.Pause(PollInterval);
    } while (status && !status->HasEnded());
    runner.Pause(PollInterval);

    if (!status) return Failure(messages::ExitCodeError);
    if (status->ExitCode() != 0) return Failure(messages::CommandErrorReturn(status->ExitCode()));
    return std::nullopt;
}

namespace {

// Runs one target's lines with interruptions held, from before its first
// command until its file has been given back.
std::optional<Failure> RunTarget(const TargetCommands& target, const MakeLines& lines,
                                 ProcessRunner& runner, FileSystem& files, MessageWriter& out) {
    TargetStamp kept(files, std::string(target.file));
    const std::unique_ptr<InterruptionHold> hold = runner.HoldInterruptions();
    std::optional<Failure> failed;
    // One caught before a command starts ends the run before it: the child
    // would not hear of it.
    for (int32_t k = target.first; k <= target.last && !failed && !hold->Caught(); ++k) {
        const std::string_view line = lines[static_cast<std::size_t>(k)];
        if (!RunsAsCommand(line)) continue;
        out.PrintMessage(line);
        failed = RunCommand(line, runner);
    }
    // An interruption ends the tool rather than the failure it caused.
    if (const std::optional<Interruption> caught = hold->Caught()) failed = Failure(*caught);
    if (failed) kept.GiveBack();
    return failed;
}

} // namespace

std::optional<Failure> RunCommandList(const CommandList& commands, const MakeLines& lines,
                                      ProcessRunner& runner, FileSystem& files,
                                      MessageWriter& out) {
    runner.PrepareChildStart();
    for (const TargetCommands& target : commands) {
        if (std::optional<Failure> failed = RunTarget(target, lines, runner, files, out))
            return failed;
    }
    return std::nullopt;
}

} // namespace vexel
