#include "os/win32/win32_platform.h"
#include "os/system_platform.h"

namespace vexel {

struct SystemPlatform::Parts {
    Win32FileSystem files;
    Win32ProcessRunner processes;
    Win32Streams streams;
    Win32Facts facts;
    Win32NameRules names;
};

// The arguments come from the command-line text, split by the tool's own
// rules, not from the runtime's argument vector.
SystemPlatform::SystemPlatform(int, char**) : parts_(std::make_unique<Parts>()) {}

SystemPlatform::~SystemPlatform() = default;

Platform SystemPlatform::Get() {
    return {parts_->files, parts_->processes, parts_->streams, parts_->facts, parts_->names};
}

} // namespace vexel
