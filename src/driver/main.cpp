// Program entry: one run per process.
#include "driver/run_sequence.h"
#include "os/platform.h"
#include "run/failure.h"

int main(int argc, char** argv) {
    vexel::InstallOutOfMemoryHandler();
    auto platform = vexel::CreateSystemPlatform(argc, argv);
    return vexel::RunVexel(*platform);
}
