#include "driver/run_sequence.h"

#include <cstdint>
#include <cstdio>
#include <new>

#include "depend/build_order.h"
#include "depend/dependents_graph.h"
#include "depend/staleness.h"
#include "driver/command_line.h"
#include "makefile/makefile_reader.h"
#include "run/command_runner.h"
#include "run/environment.h"
#include "run/failure.h"

namespace vexel {

namespace {

// Points standard output and standard error at the log for its lifetime;
// closing the log and restoring them is the first step of every clean-up.
class LogRedirection {
public:
    LogRedirection(Platform& platform, MessageWriter& out, const std::string& name)
        : platform_(platform) {
        if (!platform_.CreateLog(name)) {
            // Said once, to the caller: from here on every line would vanish.
            platform_.WriteCurrentStandardError("Vexel: Log file " + name +
                                                " cannot be created; messages are lost\r\n");
        }
        platform_.RedirectToLog();
        out.UseLog();
    }
    LogRedirection(const LogRedirection&) = delete;
    LogRedirection& operator=(const LogRedirection&) = delete;
    ~LogRedirection() { platform_.RestoreFromLog(); }

private:
    Platform& platform_;
};

int32_t StartAndRun(Platform& platform, MessageWriter& out, RunState& run) {
    if (!GetEnvValue(platform, out, "COMSPEC", run.ComSpecValue)) {
        out.PrintMessage("Get Env(COMSPEC) Error");
        return run.ExitStatus;
    }
    const std::vector<std::string> arguments = ReadArguments(platform);
    if (arguments.size() > 2) {
        out.PrintMessage("Param Error");
        return run.ExitStatus;
    }
    run.StartDir = platform.CurrentDirectory();
    run.MakeFileName = arguments.empty() ? std::string("MakeFile") : arguments[0];
    if (arguments.size() == 2) run.LogFileName = arguments[1];

    if (run.LogFileName.empty()) {
        RunPhases(platform, out, run);
    } else {
        LogRedirection log(platform, out, run.LogFileName);
        RunPhases(platform, out, run);
    }
    return run.ExitStatus;
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
                             platform.ModuleFileName() + " at " + AddressText(address) + ": " +
                             text;
        if (report.back() != '.') report.push_back('.');
        report.append("\r\n");
        platform.WriteCurrentStandardOutput(report);
    } catch (...) {
        platform.WriteCurrentStandardOutput("Unexpected failure: out of memory.\r\n");
    }
}

} // namespace

void RunPhases(Platform& platform, MessageWriter& out, RunState& run) {
    try {
        LoadMakefile(platform, run.MakeFileName, run.Lines);
    } catch (...) {
        out.PrintMessage("MakeFile Open Error");
        return;
    }
    const LeadByteSet leadBytes = platform.LeadBytes();
    if (!ParseMakefile(run.Lines, run.Depends, out, leadBytes)) return;
    const MatchKeyFunction matchKey = [&platform](std::string_view name) {
        return platform.MatchKey(name);
    };
    if (!CheckCircularAndLinkDependents(run.Depends, matchKey, out)) return;
    MarkStaleTargets(run.Depends, platform, leadBytes);
    SortDependList(run.Depends);
    CollectCommands(run.Depends, run.Lines, run.Commands);

    if (run.Commands.empty()) {
        out.PrintMessage("Target is up to date.");
    } else if (!RunCommands(run.Commands, run.StartDir, platform, out)) {
        return;
    }
    run.ExitStatus = ExitSuccess;
}

int32_t RunVexel(Platform& platform) {
    // Everything the run holds is released before a failure is reported, so
    // that the report reaches the caller's standard output, not the log.
    try {
        MessageWriter out(platform);
        RunState run;
        return StartAndRun(platform, out, run);
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
