#include "os/windows_stamp_way.h"

#include <array>

#include "os/file_pattern.h"

namespace vexel {

namespace {

// The system's limit on a name given to its ANSI calls (MAX_PATH).
constexpr std::size_t MaxPath = 260;

bool IsSeparator(char byte) {
    return byte == '\\' || byte == '/';
}

char Upper(char byte) {
    return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 'a' + 'A') : byte;
}

// Whether the last part names a device in every directory: CON, NUL, COM1...
// alone or before an extension or blanks, in any letter case.
bool IsDeviceName(std::string_view last) {
    std::string_view base = last.substr(0, last.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    std::string upper;
    for (const char byte : base)
        upper += Upper(byte);
    static constexpr std::array<std::string_view, 6> plain = {"CON", "PRN",    "AUX",
                                                              "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : plain)
        if (upper == device) return true;
    // COM0-9 and LPT0-9, and with a superscript 1, 2 or 3 (code page 1252).
    const std::string_view numbered = "0123456789\xB9\xB2\xB3";
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
           numbered.find(upper[3]) != std::string_view::npos;
}

} // namespace

// The search takes the name's last part as a pattern and looks it up in a
// listing of its directory; the attributes call opens the name. The two agree
// (a time for a file, none for a directory or a missing name) only for plain
// names, so these take the search:
// - empty names and names of MAX_PATH bytes or more (the ANSI calls' limit);
// - patterns, and names holding < > or " (which the search takes as
//   patterns too): the first match of the search;
// - names starting with two separators (UNC, \\?\ and \\.\ names);
// - names holding a colon other than in a drive "X:" followed by a separator
//   (drive-relative C:x, streams);
// - names ending in a separator, a dot or a blank (a trailing slash, . and ..,
//   the dots and blanks that the system drops from an opened name);
// - names whose last part is a device name (CON, NUL, COM1, CONIN$...);
// - names with a lead byte of the code page that no trail byte follows.
// Letter case, 8.3 short names, . and .. inside the name, either slash and
// double-byte names are resolved alike by both. Two differences are not in
// the name and are handled by the caller: a directory that cannot be listed
// (the search fails, the attributes call does not; the first file searched
// for in each directory tells) and a failure of the attributes call other
// than "not found" (the search then answers).
StampRoute ChooseStampWay(std::string_view name, const LeadByteSet& leadBytes) {
    StampRoute search;
    const std::size_t size = name.size();
    if (size == 0 || size >= MaxPath || IsPattern(name)) return search;
    if (size >= 2 && IsSeparator(name[0]) && IsSeparator(name[1])) return search;
    if (name.back() == '.' || name.back() == ' ') return search;
    const bool drive = size >= 3 && Upper(name[0]) >= 'A' && Upper(name[0]) <= 'Z' &&
                       name[1] == ':' && IsSeparator(name[2]);
    std::size_t directoryLength = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char byte = name[i];
        if (leadBytes[static_cast<unsigned char>(byte)]) {
            // A trail byte may equal a separator's byte; it is part of the
            // character, not a separator.
            if (i + 1 == size || static_cast<unsigned char>(name[i + 1]) < 0x40) return search;
            ++i;
        } else if (IsSeparator(byte)) {
            directoryLength = i + 1;
        } else if (byte == '<' || byte == '>' || byte == '"' ||
                   (byte == ':' && !(drive && i == 1))) {
            return search;
        }
    }
    if (directoryLength == size || IsDeviceName(name.substr(directoryLength))) return search;
    return {StampWay::Attributes, directoryLength};
}

} // namespace vexel
