#include "report/unexpected_failure.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace vexel {

#if defined(__GNUC__)
#define VEXEL_NOINLINE __attribute__((noinline))
#define VEXEL_CALLER_ADDRESS() __builtin_return_address(0)
#else
#define VEXEL_NOINLINE
#define VEXEL_CALLER_ADDRESS() nullptr
#endif

VEXEL_NOINLINE void RaiseIoFailure(int code, const std::string& description) {
    throw UnexpectedFailure("InOutError", "I/O error " + std::to_string(code) + ": " + description,
                            VEXEL_CALLER_ADDRESS());
}

namespace {

VEXEL_NOINLINE void OnOutOfMemory() {
    throw OutOfMemory(VEXEL_CALLER_ADDRESS());
}

} // namespace

void InstallOutOfMemoryHandler() {
    std::set_new_handler(OnOutOfMemory);
}

namespace {

// Two hex digits a byte of a pointer.
std::string AddressText(const void* address) {
    char text[2 + 2 * sizeof(void*) + 1];
    std::snprintf(text, sizeof text, "0x%0*llX", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(address)));
    return text;
}

void Report(ProcessFacts& facts, StandardStreams& standard, const char* kind, const void* address,
            const char* text) noexcept {
    try {
        std::string report = std::string("Unexpected failure ") + kind + " in module " +
                             facts.ModuleFileName().value_or("") + " at " + AddressText(address) +
                             ": " + text;
        if (report.back() != '.') report.push_back('.');
        report.append("\r\n");
        standard.WriteCurrentOutput(report);
    } catch (...) {
        standard.WriteCurrentOutput("Unexpected failure: out of memory.\r\n");
    }
}

} // namespace

void ReportUnexpectedFailure(ProcessFacts& facts, StandardStreams& standard) noexcept {
    try {
        throw;
    } catch (const UnexpectedFailure& failure) {
        Report(facts, standard, failure.Kind(), failure.Address(), failure.what());
    } catch (const OutOfMemory& failure) {
        Report(facts, standard, "OutOfMemory", failure.Address(), failure.what());
    } catch (const std::bad_alloc& failure) {
        Report(facts, standard, "OutOfMemory", nullptr, failure.what());
    } catch (const std::exception& failure) {
        Report(facts, standard, "Exception", nullptr, failure.what());
    } catch (...) {
        Report(facts, standard, "Exception", nullptr, "unknown failure");
    }
}

} // namespace vexel
