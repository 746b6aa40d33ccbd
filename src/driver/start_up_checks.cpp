#include "driver/start_up_checks.h"

#include <string>
#include <vector>

#include "driver/environment.h"
#include "report/messages.h"

namespace vexel {

bool LogIsTheMakefile(FileSystem& files, const RunState& run) {
    return !run.LogFileName.empty() && files.SameFile(run.MakeFileName, run.LogFileName);
}

std::optional<Failure> CheckStartUp(Platform& platform, RunState& run) {
    // COMSPEC must be set for the tool to run, but nothing reads its value:
    // commands are started directly, never through a command interpreter.
    std::string comSpecValue;
    if (std::optional<Failure> failed = GetEnvValue(platform.facts, "COMSPEC", comSpecValue)) {
        failed->messages.emplace_back(messages::GetEnvComSpecError);
        return failed;
    }
    const std::vector<std::string> arguments = platform.facts.Arguments();
    if (arguments.size() > 2) return Failure(messages::ParamError);
    run.MakeFileName = arguments.empty() ? std::string("MakeFile") : arguments[0];
    if (arguments.size() == 2) run.LogFileName = arguments[1];
    if (LogIsTheMakefile(platform.files, run)) return Failure(messages::MakeFileOpenError);
    return std::nullopt;
}

} // namespace vexel
