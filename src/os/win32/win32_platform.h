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

// The code of the last failure, or fallback when the system left none.
SystemError LastError(DWORD fallback);

// Writes every byte, going on after partial writes (win32_streams.cpp).
std::optional<SystemError> WriteAll(HANDLE handle, std::string_view bytes);

// A name's age stamp as the search for it finds it (FindFirstFileA), the way
// every name may take (win32_files.cpp).
AgeStamp SearchedAgeStamp(const std::string& name);

// The handler of console events while interruptions are held: catches Ctrl+C,
// Ctrl+Break and the closing of the console (win32_process.cpp).
BOOL WINAPI OnConsoleEvent(DWORD event);

} // namespace vexel
