// The console's events while interruptions are held: Wine never delivers
// Ctrl+Break to a program (GenerateConsoleCtrlEvent fails), so the handler is
// called as the console would call it.
#include <gtest/gtest.h>

#include "os/win32/win32_platform.h"

namespace vexel {
namespace {

TEST(Win32Interruption, CtrlCAndCtrlBreakAreCaughtWhileHeld) {
    SystemProcesses processes;
    for (const DWORD event : {CTRL_C_EVENT, CTRL_BREAK_EVENT}) {
        const std::unique_ptr<InterruptionHold> hold = processes.HoldInterruptions();
        EXPECT_FALSE(hold->Caught());
        EXPECT_TRUE(OnConsoleEvent(event));
        ASSERT_TRUE(hold->Caught());
        EXPECT_EQ(hold->Caught()->signal, static_cast<int>(event));
    }
    EXPECT_FALSE(OnConsoleEvent(CTRL_LOGOFF_EVENT)) << "not an interruption";
}

} // namespace
} // namespace vexel
