// Windows' own declarations, as the Win32 side of the operating-system
// layer includes them, with the classes it implements.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "os/system_platform.h"

namespace vexel {

// A name's age stamp as the search for it finds it (FindFirstFileA), the way
// every name may take (win32_files.cpp).
AgeStamp SearchedAgeStamp(const std::string& name);

} // namespace vexel
