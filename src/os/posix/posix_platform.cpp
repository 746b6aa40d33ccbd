#include <csignal>

#include "os/posix/posix_platform.h"
#include "os/system_platform.h"

namespace vexel {

struct SystemPlatform::Parts {
    Parts(int argc, char** argv) : facts(argc, argv) {}
    PosixFileSystem files;
    PosixProcessRunner processes;
    PosixStreams streams;
    PosixFacts facts;
    PosixNameRules names;
};

SystemPlatform::SystemPlatform(int argc, char** argv)
    : parts_(std::make_unique<Parts>(argc, argv)) {
    // A closed pipe on standard output must show as a failed write, not end
    // the process; children get the default back before they start.
    std::signal(SIGPIPE, SIG_IGN);
}

SystemPlatform::~SystemPlatform() = default;

Platform SystemPlatform::Get() {
    return {parts_->files, parts_->processes, parts_->streams, parts_->facts, parts_->names};
}

} // namespace vexel
