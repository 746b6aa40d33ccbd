// Target lines and command lines of any text, with any set of lead bytes:
// no crash, target lines read as the plain rules read them, and what the
// rules promise of command lines whatever the text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/plain_target_line.h"
#include "makefile/target_line.h"
#include "os/windows_command_line.h"
#ifndef _WIN32
#include "os/posix/child_arguments.h"
#endif

namespace vexel {

namespace {

constexpr auto npos = std::string_view::npos;

// Whether the pieces are made of bytes taken from text in order: splitting
// removes and halves, never invents.
bool TakenInOrder(const std::vector<std::string>& pieces, std::string_view text) {
    std::size_t at = 0;
    for (const std::string& piece : pieces) {
        for (const char byte : piece) {
            if ((at = text.find(byte, at)) == npos) return false;
            ++at;
        }
    }
    return true;
}

// The target, the names and each name for file access as the plain rules
// give them, whatever the lead bytes.
void CheckTargetLine(std::string_view line, const LeadByteSet& lead) {
    const plain::TargetLine want = plain::Read(line, lead);
    CHECK(Unquote(line, lead) == plain::Unquote(std::string(line), lead));
    CHECK(ExtractTarget(line, lead) == want.target);
    CHECK(Unquote(want.target, lead) == plain::Unquote(want.target, lead));
    std::vector<DependName> depends;
    ExtractDepends(line, depends, lead);
    CHECK(depends.size() == want.depends.size());
    for (std::size_t i = 0; i < depends.size(); ++i) {
        CHECK(depends[i].Whole() == want.depends[i]);
        CHECK(Unquote(want.depends[i], lead) == plain::Unquote(want.depends[i], lead));
    }
}

void CheckArguments(std::string_view text) {
    const bool quotes = text.find('"') != npos;
    const std::vector<std::string> arguments = SplitWindowsCommandLine(text);
    CHECK(TakenInOrder(arguments, text));
    for (const std::string& argument : arguments) {
        CHECK(!argument.empty() && argument.find_first_of(std::string_view("\"\0", 2)) == npos);
        CHECK(quotes || std::none_of(argument.begin(), argument.end(), IsWhiteSpace));
    }
#ifndef _WIN32
    const std::vector<std::string> child = SplitChildArguments(text);
    CHECK(!child.empty() && child[0].find('"') == npos && TakenInOrder(child, text));
    for (std::size_t i = 0; i < child.size(); ++i) {
        CHECK(quotes || (child[i].find_first_of(" \t") == npos && (i == 0 || !child[i].empty())));
    }
#endif
}

} // namespace
} // namespace vexel

// The first two bytes choose the lead bytes: those whose XOR with the first
// is below the second.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    vexel::LeadByteSet lead{};
    for (int c = 0; c < 256; ++c)
        lead[c] = (c ^ data[0]) < data[1];
    const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
    vexel::CheckTargetLine(vexel::Trim(text.substr(0, text.find('\0'))), lead);
    vexel::CheckArguments(text);
    return 0;
}
