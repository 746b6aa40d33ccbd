#include "makefile/target_line.h"

#include "base/text.h"

namespace vexel {

namespace {

constexpr std::string_view Separator = ": ";
constexpr char DoubleQuote = '"';
constexpr char SingleQuote = '\'';

// The text between an opening quote q and its closing quote, doubled quotes
// made single; empty when the name does not begin with q.
std::string QuotedText(std::string_view name, char q, const LeadByteSet& leadBytes) {
    std::string result;
    if (name.empty() || name[0] != q) return result;
    TrailTracker tracker(leadBytes);
    tracker.Step(name[0]);
    std::size_t i = 1;
    while (i < name.size()) {
        if (name[i] == q && !tracker.AtTrailByte()) {
            if (i + 1 < name.size() && name[i + 1] == q) {
                result.push_back(q);
                tracker.Step(name[i]);
                tracker.Step(name[i + 1]);
                i += 2;
                continue;
            }
            return result; // closing quote; what follows it is dropped
        }
        result.push_back(name[i]);
        tracker.Step(name[i]);
        ++i;
    }
    // Never closed: the last byte goes too.
    if (!result.empty()) result.pop_back();
    return result;
}

// Splits a rest of line in which the search for a blank is a plain search
// (no double quote, no NUL, no lead byte) in one pass, at each blank, the
// names trimmed, as the general loop below would find them, without the copy
// it makes. False, and names as they were, when the rest is not plain.
bool SplitPlainNames(std::string_view restOfLine, std::vector<DependName>& names,
                     const LeadByteSet& leadBytes) {
    const std::size_t namesBefore = names.size();
    const std::size_t size = restOfLine.size();
    std::size_t nameStart = 0;
    bool betweenNames = false;
    for (std::size_t i = 0; i < size; ++i) {
        const char byte = restOfLine[i];
        if (byte == DoubleQuote || byte == '\0' || leadBytes[static_cast<unsigned char>(byte)]) {
            names.resize(namesBefore);
            return false;
        }
        if (betweenNames) {
            if (IsWhiteSpace(byte)) continue;
            betweenNames = false;
            nameStart = i;
        } else if (byte == ' ') {
            std::size_t nameEnd = i;
            while (IsWhiteSpace(restOfLine[nameEnd - 1]))
                --nameEnd;
            names.push_back({restOfLine.substr(nameStart, nameEnd - nameStart)});
            betweenNames = true;
        }
    }
    // The rest is trimmed, so it ends inside its last name.
    if (!betweenNames) names.push_back({restOfLine.substr(nameStart)});
    return true;
}

} // namespace

std::string_view ExtractTarget(std::string_view line, const LeadByteSet& leadBytes) {
    const std::size_t separator = FindPattern(line, Separator, leadBytes);
    if (separator == std::string_view::npos) return {};
    return Trim(line.substr(0, separator));
}

void ExtractDepends(std::string_view line, std::vector<DependName>& names,
                    const LeadByteSet& leadBytes) {
    const std::size_t separator = FindPattern(line, Separator, leadBytes);
    if (separator == std::string_view::npos) return;
    const std::string_view restOfLine = Trim(line.substr(separator + Separator.size()));
    if (FindPattern(restOfLine, " ", leadBytes) == std::string_view::npos) {
        names.push_back({restOfLine});
        return;
    }
    if (SplitPlainNames(restOfLine, names, leadBytes)) return;
    // Every name, the last one included, is now followed by a blank. The
    // names found are given as stretches of the line itself.
    std::string restText(restOfLine);
    restText.push_back(' ');
    auto inLine = [&](std::string_view name) {
        const auto offset = static_cast<std::size_t>(name.data() - restText.data());
        if (offset + name.size() <= restOfLine.size())
            return DependName{restOfLine.substr(offset, name.size())};
        return DependName{restOfLine.substr(offset), true};
    };
    std::string_view rest = restText;
    while (rest.size() >= 2) {
        const bool quoted = rest[0] == DoubleQuote;
        // A quoted name is closed by a double quote and a blank behind its
        // opening quote, so that a quoted text may begin with a blank.
        const std::size_t found =
            quoted ? FindPattern(rest, "\" ", leadBytes, 1) : FindPattern(rest, " ", leadBytes);
        if (found == std::string_view::npos) {
            names.push_back(inLine(rest));
            return;
        }
        const std::size_t nameEnd = quoted ? found + 1 : found;
        names.push_back(inLine(Trim(rest.substr(0, nameEnd))));
        rest = LeftTrim(rest.substr(found + 1));
    }
}

std::string Unquote(std::string_view name, const LeadByteSet& leadBytes) {
    std::string text = QuotedText(name, DoubleQuote, leadBytes);
    if (!text.empty()) return text;
    text = QuotedText(name, SingleQuote, leadBytes);
    if (!text.empty()) return text;
    return std::string(name);
}

} // namespace vexel
