// Failures that no phase reports itself: they end the run unexpectedly.
#pragma once

#include <new>
#include <stdexcept>
#include <string>

#include "os/platform.h"

namespace vexel {

// A failure that ends the run unexpectedly, with where in the program it
// was raised.
class UnexpectedFailure : public std::runtime_error {
public:
    UnexpectedFailure(const char* kind, const std::string& text, const void* address)
        : std::runtime_error(text), kind_(kind), address_(address) {}

    const char* Kind() const noexcept { return kind_; }
    const void* Address() const noexcept { return address_; }

private:
    const char* kind_;
    const void* address_;
};

// Raises an input/output failure carrying the system's error code and text;
// the failure records the code address of its caller.
[[noreturn]] void RaiseIoFailure(int code, const std::string& description);

// Lack of memory, with the code address where it struck.
class OutOfMemory : public std::bad_alloc {
public:
    explicit OutOfMemory(const void* address) : address_(address) {}
    const char* what() const noexcept override { return "out of memory"; }
    const void* Address() const noexcept { return address_; }

private:
    const void* address_;
};

// Makes a failed allocation raise OutOfMemory.
void InstallOutOfMemoryHandler();

// Reports the failure being handled (to be called in a catch block) in one
// line on the standard output in force, the caller's once the run has been
// cleaned up: its kind, the program's file, the code address where it was
// raised, and its text with a full stop. Never fails again, even when
// memory has run out.
void ReportUnexpectedFailure(ProcessFacts& facts, StandardStreams& standard) noexcept;

} // namespace vexel
