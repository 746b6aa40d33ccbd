// Text rules of the makefile: trimming and double-byte aware finding.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace vexel {

// Bytes that open a double-byte character in the system's ANSI code page.
using LeadByteSet = std::array<bool, 256>;

inline bool IsWhiteSpace(char byte) {
    return static_cast<unsigned char>(byte) <= 32;
}

std::string_view Trim(std::string_view text);
std::string_view LeftTrim(std::string_view text);

// Sets key to text with the ASCII letters in lower case and every other
// byte as it is: names that are equal without regard to ASCII letter case
// have equal keys.
void FoldAsciiCase(std::string_view text, std::string& key);

// Tracks, byte by byte from the start of a text, whether the current byte is
// the second byte of a double-byte character.
class TrailTracker {
public:
    explicit TrailTracker(const LeadByteSet& leadBytes) : leadBytes_(leadBytes) {}

    // Whether the byte about to be stepped over is a second byte.
    bool AtTrailByte() const { return (leadRun_ & 1) != 0; }

    void Step(char byte) {
        leadRun_ = leadBytes_[static_cast<unsigned char>(byte)] ? leadRun_ + 1 : 0;
    }

private:
    const LeadByteSet& leadBytes_;
    std::size_t leadRun_ = 0;
};

// The lowest position, not below from, at which pattern stands in text and
// does not begin on the second byte of a double-byte character; npos when
// there is none. The text ends at its first NUL byte; the pattern holds none.
std::size_t FindPattern(std::string_view text, std::string_view pattern,
                        const LeadByteSet& leadBytes, std::size_t from = 0);

} // namespace vexel
