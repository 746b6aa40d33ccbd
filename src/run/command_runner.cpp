#include "run/command_runner.h"

#include "makefile/line_kind.h"
#include "makefile/target_line.h"
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
                                  ProcessRunner& runner) {
    const std::string command(CommandText(line));
    std::optional<std::unique_ptr<ChildProcess>> child;
    if (!command.empty()) child = runner.StartChild(command, directory);
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

std::optional<Failure> RunCommandList(const CommandList& commands, const MakeLines& lines,
                                      const LeadByteSet& leadBytes, const std::string& directory,
                                      ProcessRunner& runner, FileSystem& files,
                                      MessageWriter& out) {
    runner.PrepareChildStart();
    for (const TargetCommands& target : commands) {
        TargetStamp kept(files, Unquote(target.Target, leadBytes));
        runner.BeginTarget();
        std::optional<Failure> failed;
        // One caught before a command starts ends the run before it: the
        // child would not hear of it.
        for (int32_t k = target.CmdFirst; k <= target.CmdLast && !failed && !runner.Interrupted();
             ++k) {
            const std::string_view line = lines[static_cast<std::size_t>(k)];
            if (!IsRunInRange(line)) continue;
            out.PrintMessage(line);
            failed = RunCommand(line, directory, runner);
        }
        // An interruption ends the tool rather than the failure it caused.
        if (failed || runner.Interrupted()) kept.GiveBack();
        if (runner.Interrupted()) runner.EndInterrupted();
        runner.EndTarget();
        if (failed) return failed;
    }
    return std::nullopt;
}

} // namespace vexel
