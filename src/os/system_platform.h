// The operating system's own layer, made once by the program's entry.
#pragma once

#include <memory>

#include "os/platform.h"

namespace vexel {

class SystemPlatform {
public:
    SystemPlatform(int argc, char** argv);
    SystemPlatform(const SystemPlatform&) = delete;
    SystemPlatform& operator=(const SystemPlatform&) = delete;
    ~SystemPlatform();

    Platform Get();

private:
    struct Parts; // one implementation of each interface
    std::unique_ptr<Parts> parts_;
};

} // namespace vexel
