#include <csignal>

#include "os/system_platform.h"

namespace vexel {

SystemPlatform::SystemPlatform(int argc, char** argv) : facts_(argc, argv) {
    // A closed pipe on standard output must show as a failed write, not end
    // the process; children get the default back before they start.
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace vexel
