#include "os/win32/win32_platform.h"

namespace vexel {

SystemPlatform::SystemPlatform(int argc, char** argv) : facts_(argc, argv) {}

} // namespace vexel
