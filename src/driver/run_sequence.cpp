#include "driver/run_sequence.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "depend/build_order.h"
#include "depend/circular_check.h"
#include "depend/staleness.h"
#include "depend/stamp_fetch.h"
#include "driver/run_state.h"
#include "driver/start_up_checks.h"
#include "execution/command_runner.h"
#include "makefile/makefile_reader.h"
#include "report/log_redirection.h"
#include "report/messages.h"
#include "report/unexpected_failure.h"

namespace vexel {

namespace {

// The makefile's target lines read into the graph, checked, and its stale
// targets marked. The files' stamps are asked for as their names are read,
// so that the file system answers while the reading and the check go on.
std::optional<Failure> AnalyseTargets(Platform& platform, const LeadByteSet& leadBytes,
                                      RunState& run) {
    FileStamps stamps(platform.files, StampThreads());
    MakefileTargets read;
    if (std::optional<Failure> failed = ReadTargets(run.Lines, leadBytes, read, &stamps))
        return failed;
    TargetGraph& graph = run.Graph.emplace(std::move(read), platform.names);
    if (std::optional<Failure> failed = CheckCircular(graph)) return failed;
    MarkStaleTargets(graph, stamps.AwaitStamps(graph.Names()));
    return std::nullopt;
}

// The phases from the makefile load to the commands, with the log, if any,
// in place.
std::optional<Failure> RunPhases(Platform& platform, MessageWriter& out, RunState& run) {
    // Asked again: a makefile that did not exist at the start-up may be the
    // log that has been created since (vexel new.mk new.mk). The log is never
    // read as the makefile.
    if (LogIsTheMakefile(platform.files, run)) return Failure(messages::MakeFileOpenError);
    if (std::optional<Failure> failed = LoadMakefile(platform.files, run.MakeFileName, run.Lines))
        return failed;
    const LeadByteSet leadBytes = platform.names.LeadBytes();
    if (std::optional<Failure> failed = AnalyseTargets(platform, leadBytes, run)) return failed;
    run.BuildOrder = BuildOrder(*run.Graph);
    CollectCommands(run.BuildOrder, run.Lines, run.Graph->Names(), run.Commands);

    if (run.Commands.empty()) {
        out.PrintMessage(messages::UpToDate);
        return std::nullopt;
    }
    return RunCommandList(run.Commands, run.Lines, platform.processes, platform.files, out);
}

// The whole run up to its clean-up: what failed has been said when it
// returns, with the log, if any, still in place.
std::optional<Failure> RunSequence(Platform& platform, MessageWriter& out, RunState& run) {
    // Closing the log and restoring the standard handles is the first step
    // of every clean-up, the unexpected included.
    std::optional<LogRedirection> log;
    std::optional<Failure> failed = CheckStartUp(platform, run);
    if (!failed) {
        if (!run.LogFileName.empty())
            log.emplace(platform.log, platform.standard, out, run.LogFileName);
        failed = RunPhases(platform, out, run);
    }
    if (failed) {
        for (const std::string& message : failed->messages)
            out.PrintMessage(message);
    }
    return failed;
}

} // namespace

int32_t RunVexel(Platform& platform) {
    // Everything the run holds is released before a failure is reported, so
    // that the report reaches the caller's standard output, not the log.
    std::optional<Failure> failed;
    try {
        MessageWriter out(platform.log, platform.standard);
        RunState run;
        failed = RunSequence(platform, out, run);
    } catch (...) {
        ReportUnexpectedFailure(platform.facts, platform.standard);
        return ExitUnexpected;
    }
    // Cleaned up, the standard handles the caller's again: an interrupted
    // run ends now as the interruption would have ended it.
    if (failed && failed->interruption) platform.processes.EndInterrupted(*failed->interruption);
    return failed ? ExitFailure : ExitSuccess;
}

} // namespace vexel
