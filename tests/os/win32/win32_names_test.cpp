// The Win32 name keys against the system's own comparison (run under Wine).
// The end-to-end tests see only whether two names match; this checks that the
// keys agree with CompareStringA on the pairs where a simple fold would not:
// punctuation the comparison ignores, accented letters, ligatures.
#include <gtest/gtest.h>

#include <string>

#include "os/win32/win32_platform.h"

namespace vexel {
namespace {

TEST(Win32MatchKey, KeysAreEqualExactlyWhenCompareStringSaysEqual) {
    SystemNames rules;
    auto key = [&](const std::string& name) {
        std::string text;
        rules.MatchKey(name, text);
        return text;
    };
    // Bytes in code page 1252: \xE9 e acute, \xC9 E acute, \xDF sharp s,
    // \xFC u umlaut. Under code page 932 (the second ctest run) the same
    // bytes form double-byte characters, and the keys must still agree.
    const std::string pairs[][2] = {
        {"app", "APP"},
        {"Lib.Obj", "lib.obj"},
        {"a", "b"},
        {"file1", "file01"},
        {"co-op", "coop"},
        {"it's", "its"},
        {"a b", "ab"},
        {"\"a\"", "a"},
        {"\xE9t\xE9", "\xC9T\xC9"},
        {"\xE9", "e"},
        {"Stra\xDF"
         "e",
         "STRASSE"},
        {"\xFC", "ue"},
        {std::string("x\x01", 2), "x"},
        {"sub\\file", "SUB\\FILE"},
        {"sub\\file", "sub/file"},
    };
    int equalPairs = 0;
    for (const auto& [a, b] : pairs) {
        const bool compared =
            ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()),
                             b.data(), int(b.size())) == CSTR_EQUAL;
        EXPECT_EQ(key(a) == key(b), compared) << a << " / " << b;
        EXPECT_FALSE(key(a).empty()) << a;
        equalPairs += compared ? 1 : 0;
    }
    // Otherwise a key that never matches anything would pass.
    EXPECT_GE(equalPairs, 3);
    EXPECT_EQ(key(""), "");
}

// Every byte is a lead byte exactly when the system says so; under code page
// 932 that is 0x81 to 0x9F and 0xE0 to 0xFC, both ends of each included.
TEST(Win32LeadBytes, AreTheCodePagesWholeRanges) {
    const LeadByteSet leadBytes = SystemNames().LeadBytes();
    for (unsigned byte = 0; byte < 256; ++byte)
        EXPECT_EQ(leadBytes[byte], ::IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0) << byte;
    if (::GetACP() != 932) return;
    for (const unsigned byte : {0x81, 0x9F, 0xE0, 0xFC})
        EXPECT_TRUE(leadBytes[byte]) << byte;
    for (const unsigned byte : {0x80, 0xA0, 0xDF, 0xFD})
        EXPECT_FALSE(leadBytes[byte]) << byte;
}

} // namespace
} // namespace vexel
