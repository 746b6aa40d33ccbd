#include "driver/run_sequence.h"

#include <cstdint>
#include <cstdio>
#include <new>
#include <vector>

#include "depend/build_order.h"
#include "depend/circular_check.h"
#include "depend/staleness.h"
#include "depend/stamp_fetch.h"
#include "driver/environment.h"
#include "driver/log_redirection.h"
#include "driver/messages.h"
#include "driver/unexpected_failure.h"
#include "makefile/makefile_reader.h"
#include "run/command_runner.h"

namespace vexel {

namespace {

// Echoes each command line, runs it and stops at the first one that does not
// end with exit code 0. True when every one did.
bool RunCommandList(const CommandList& commands, const std::string& directory,
                    ProcessRunner& runner, MessageWriter& out) {
    runner.PrepareChildStart();
    for (const std::string_view line : commands) {
        out.PrintMessage(line);
        const CommandResult result = RunCommand(line, directory, runner);
        switch (result.kind) {
        case CommandResult::Kind::Ended:
            if (result.exitCode == 0) continue;
            out.PrintMessage(messages::CommandErrorReturn(result.exitCode));
            return false;
        case CommandResult::Kind::NotStarted:
            out.PrintMessage(messages::CreateProcessError);
            return false;
        case CommandResult::Kind::EndUnknown:
            out.PrintMessage(messages::ExitCodeError);
            return false;
        }
    }
    return true;
}

// A log that is the makefile's own file, however it is spelt, would destroy
// the makefile when it is created, or be read as the makefile.
bool LogIsTheMakefile(FileSystem& files, const RunState& run) {
    return !run.LogFileName.empty() && files.SameFile(run.MakeFileName, run.LogFileName);
}

void StartAndRun(Platform& platform, MessageWriter& out, RunState& run) {
    switch (GetEnvValue(platform.facts, "COMSPEC", run.ComSpecValue)) {
    case EnvLookup::Read:
        break;
    case EnvLookup::NotExists:
        out.PrintMessage(messages::EnvNotExists);
        out.PrintMessage(messages::GetEnvComSpecError);
        return;
    case EnvLookup::LengthOver:
        out.PrintMessage(messages::EnvLengthOver);
        out.PrintMessage(messages::GetEnvComSpecError);
        return;
    }
    const std::vector<std::string> arguments = platform.facts.Arguments();
    if (arguments.size() > 2) {
        out.PrintMessage(messages::ParamError);
        return;
    }
    run.StartDir = platform.facts.CurrentDirectory();
    run.MakeFileName = arguments.empty() ? std::string("MakeFile") : arguments[0];
    if (arguments.size() == 2) run.LogFileName = arguments[1];
    if (LogIsTheMakefile(platform.files, run)) {
        out.PrintMessage(messages::MakeFileOpenError);
        return;
    }

    if (run.LogFileName.empty()) {
        RunPhases(platform, out, run);
    } else {
        LogRedirection log(platform.streams, out, run.LogFileName);
        RunPhases(platform, out, run);
    }
}

std::string AddressText(const void* address) {
    char text[2 + 2 * sizeof(void*) + 1];
    std::snprintf(text, sizeof text, "0x%0*llX", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
    return text;
}

// Writes the report; it must not fail again, even when memory has run out.
void ReportUnexpected(Platform& platform, const char* kind, const void* address,
                      const char* text) noexcept {
    try {
        std::string report = std::string("Unexpected failure ") + kind + " in module " +
                             platform.facts.ModuleFileName() + " at " + AddressText(address) +
                             ": " + text;
        if (report.back() != '.') report.push_back('.');
        report.append("\r\n");
        platform.streams.WriteCurrentStandardOutput(report);
    } catch (...) {
        platform.streams.WriteCurrentStandardOutput("Unexpected failure: out of memory.\r\n");
    }
}

} // namespace

void RunPhases(Platform& platform, MessageWriter& out, RunState& run) {
    if (LogIsTheMakefile(platform.files, run) ||
        !LoadMakefile(platform.files, run.MakeFileName, run.Lines)) {
        out.PrintMessage(messages::MakeFileOpenError);
        return;
    }
    const LeadByteSet leadBytes = platform.names.LeadBytes();
    const ReadOutcome read = ReadTargets(run.Lines, leadBytes, run.Targets);
    switch (read.error) {
    case ReadError::None:
        break;
    case ReadError::TargetLineSyntax:
        out.PrintMessage(messages::TargetLineSyntaxError);
        return;
    case ReadError::DupTarget:
        out.PrintMessage(messages::DupTarget(read.dupTarget));
        return;
    }
    TargetGraph& graph = run.Graph.emplace(run.Targets.entries);
    MakefileNames& names = run.Targets.names;
    graph.LinkDependents(names, platform.names);
    if (const TDepend* circular = FindCircular(graph)) {
        out.PrintMessage(messages::Circular(names[circular->Target]));
        return;
    }
    MarkStaleTargets(graph, names, platform.files, leadBytes, StampThreads());
    run.Depends = BuildOrder(graph);
    CollectCommands(run.Depends, run.Lines, run.Commands);

    if (run.Commands.empty()) {
        out.PrintMessage(messages::UpToDate);
    } else if (!RunCommandList(run.Commands, run.StartDir, platform.processes, out)) {
        return;
    }
    run.ExitStatus = ExitSuccess;
}

int32_t RunVexel(Platform& platform) {
    // Everything the run holds is released before a failure is reported, so
    // that the report reaches the caller's standard output, not the log.
    try {
        MessageWriter out(platform.streams);
        RunState run;
        StartAndRun(platform, out, run);
        return run.ExitStatus;
    } catch (const UnexpectedFailure& failure) {
        ReportUnexpected(platform, failure.Kind(), failure.Address(), failure.what());
    } catch (const OutOfMemory& failure) {
        ReportUnexpected(platform, "OutOfMemory", failure.Address(), failure.what());
    } catch (const std::bad_alloc& failure) {
        ReportUnexpected(platform, "OutOfMemory", nullptr, failure.what());
    } catch (const std::exception& failure) {
        ReportUnexpected(platform, "Exception", nullptr, failure.what());
    } catch (...) {
        ReportUnexpected(platform, "Exception", nullptr, "unknown failure");
    }
    return ExitUnexpected;
}

} // namespace vexel
