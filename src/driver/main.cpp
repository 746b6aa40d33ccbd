// Program entry: one run per process.
#include "driver/run_sequence.h"
#include "os/system_platform.h"
#include "report/unexpected_failure.h"

int main(int argc, char** argv) {
    vexel::InstallOutOfMemoryHandler();
    vexel::SystemPlatform system(argc, argv);
    vexel::Platform platform = system.Get();
    return vexel::RunVexel(platform);
}
