// The whole run, from makefile text to the commands started, over an
// in-memory platform, against the procedure written plainly: target lines
// read by the plain rules, recursive marking with Levels, the nested
// exchange sort, the stale records' lines, the file a failed target gets
// back.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "depend/plain_exchange_sort.h"
#include "driver/run_sequence.h"
#include "fakes/fake_platform.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/plain_target_line.h"
#include "makefile/make_lines.h"

namespace vexel {

namespace {

// A quarter of the names have no file; the others were written at one of
// three seconds around 1970 and at one of three quarters within it, so that
// equal times, and times less than a second apart, are frequent.
struct Time {
    bool exists;
    std::pair<int64_t, int32_t> secondsAndNanoseconds;
};

Time TimeOf(std::string_view name) {
    const auto hash = static_cast<uint32_t>(std::hash<std::string_view>{}(name));
    return {
        hash % 4 != 0,
        {static_cast<int64_t>(hash / 4 % 3) - 1, static_cast<int32_t>(hash / 12 % 3) * 250000000}};
}

AgeStamp StampOf(std::string_view name) {
    const Time time = TimeOf(name);
    return time.exists
               ? AgeStamp::At(time.secondsAndNanoseconds.first, time.secondsAndNanoseconds.second)
               : AgeStamp();
}

// Once commands run, each one writes every file: after k have started, a
// file reads as written at 2000000000 + k seconds.
AgeStamp StampAfter(std::string_view name, std::size_t started) {
    return started == 0 ? StampOf(name) : AgeStamp::At(2000000000 + int64_t(started), 0);
}

// One command in eight fails, with a code of either sign.
int32_t ExitCodeOf(std::string_view command) {
    const auto hash = static_cast<uint32_t>(std::hash<std::string_view>{}(command));
    return hash % 8 == 0 ? static_cast<int32_t>(hash | 1) : 0;
}

std::string Folded(std::string_view name) {
    std::string key;
    FoldAsciiCase(name, key);
    return key;
}

// Code page 932, so that double-byte text counts.
const LeadByteSet Lead = [] {
    LeadByteSet lead{};
    for (int c = 0x81; c <= 0xFC; ++c)
        lead[c] = c <= 0x9F || c >= 0xE0;
    return lead;
}();

struct Record {
    std::string target;
    std::vector<std::string> depends;
    int32_t cmdFirst = -1, cmdLast = -1;
    bool stale = false;
    int32_t level = 0;
    std::size_t position = 0;
    std::vector<Record*> dependents;
};

void MarkStale(Record& record) {
    record.stale = true;
    for (Record* dependent : record.dependents) {
        if (!dependent->stale) MarkStale(*dependent);
        if (dependent->level >= record.level) record.level = dependent->level + 1;
    }
}

// Checks the lines against a byte-by-byte reading of the makefile.
void CheckLines(const MakeLines& lines, std::string_view text) {
    text = text.substr(0, text.find('\0'));
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    std::size_t count = 0;
    for (std::size_t end = 0; !text.empty(); text.remove_prefix(end)) {
        end = std::min(text.find_first_of("\r\n"), text.size());
        CHECK(count < lines.Count() && lines[count++] == text.substr(0, end));
        end += text.substr(end).starts_with("\r\n") ? 2 : end < text.size() ? 1 : 0;
    }
    CHECK(count == lines.Count());
}

// The root record, then one per target line, with their command ranges; or
// the message of the first line refused.
std::string PlainRead(const MakeLines& lines, std::vector<Record>& records) {
    records.resize(1);
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        if (lines[i].starts_with('\t')) {
            if (records.back().cmdFirst < 0) records.back().cmdFirst = static_cast<int32_t>(i);
            records.back().cmdLast = static_cast<int32_t>(i);
            continue;
        }
        const std::string line = plain::Trimmed(lines[i]);
        if (line.empty() || line[0] == '#') continue;
        plain::TargetLine read = plain::Read(line, Lead);
        Record record{.target = std::move(read.target), .depends = std::move(read.depends)};
        if (record.target.empty()) return "Target Line Syntax error";
        for (std::size_t j = 1; j < records.size(); ++j)
            if (records[j].target == record.target) return "Dup Target " + record.target;
        records.push_back(std::move(record));
    }
    return "";
}

int Compare(const Record* a, const Record* b) {
    return PlainCompareDepends(a->target.empty(), a->level, b->target.empty(), b->level);
}

// The record that a command line belongs to: its place in build order, and
// the file it makes, unquoted ("" for the root record).
struct Owner {
    std::size_t position;
    std::string file;
};

// The command lines of the stale records in build order, by the procedure
// written plainly, with the owner of each; files gets every file a target
// line names, unquoted.
std::vector<std::string_view> PlainCommands(const MakeLines& lines, std::vector<Record>& records,
                                            std::set<std::string>& files,
                                            std::vector<Owner>& owners) {
    std::map<std::string, std::vector<Record*>> namedBy;
    for (Record& record : records)
        for (const std::string& name : record.depends)
            namedBy[Folded(name)].push_back(&record);
    for (std::size_t j = 1; j < records.size(); ++j) {
        records[j].dependents = namedBy[Folded(records[j].target)];
        files.insert(plain::Unquote(records[j].target, Lead));
        for (const std::string& name : records[j].depends)
            files.insert(plain::Unquote(name, Lead));
    }
    records[0].stale = true;
    for (std::size_t j = 1; j < records.size(); ++j) {
        const Time own = TimeOf(plain::Unquote(records[j].target, Lead));
        bool stale = !own.exists;
        for (std::size_t k = 0; !stale && k < records[j].depends.size(); ++k) {
            const Time theirs = TimeOf(plain::Unquote(records[j].depends[k], Lead));
            stale = theirs.exists && theirs.secondsAndNanoseconds > own.secondsAndNanoseconds;
        }
        if (stale) MarkStale(records[j]);
    }

    std::vector<Record*> order;
    for (Record& record : records)
        order.push_back(&record);
    if (order.size() > 1) PlainExchangeSort(order, 0, static_cast<long>(order.size()) - 1, Compare);
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i]->position = i;
    std::vector<std::string_view> commands;
    for (const Record* record : order) {
        // Staleness reaches every dependent, and a dependent builds later.
        for (const Record* dependent : record->dependents)
            CHECK(!record->stale || (dependent->stale && dependent->position > record->position));
        for (int32_t k = record->cmdFirst; record->stale && k >= 0 && k <= record->cmdLast; ++k) {
            if (!lines[k].empty() && lines[k][0] == '#') continue;
            commands.push_back(lines[k]);
            owners.push_back({record->position, plain::Unquote(record->target, Lead)});
        }
    }
    return commands;
}

// What the file of the target whose command at failed gets back: the time
// it had before its record's first command, or 1970 for a file made since;
// nothing when it is unchanged, for the root record, or for a pattern.
std::vector<std::pair<std::string, AgeStamp>> GivenBack(const std::vector<Owner>& owners,
                                                        std::size_t at, std::size_t started) {
    std::size_t first = at;
    while (first > 0 && owners[first - 1].position == owners[at].position)
        --first;
    const std::string& file = owners[at].file;
    const AgeStamp before = StampAfter(file, first);
    if (file.empty() || file.find_first_of("*?") != std::string::npos ||
        StampAfter(file, started) == before)
        return {};
    return {{file, before.HasTime() ? before : AgeStamp::At(0, 0)}};
}

// What the run must do with the stale records' commands, by the procedure
// written plainly: the output, the commands started, the exit status and the
// file given back.
struct Expected {
    std::string out;
    std::vector<std::string> started;
    int32_t status = 0;
    std::vector<std::pair<std::string, AgeStamp>> givenBack;
};

Expected PlainRun(const std::vector<std::string_view>& commands, const std::vector<Owner>& owners) {
    Expected want;
    if (commands.empty()) want.out = "Vexel: Target is up to date.\r\n";
    for (std::size_t i = 0; i < commands.size() && want.status == 0; ++i) {
        const std::string_view line = commands[i];
        want.out += "Vexel: " + std::string(line) + "\r\n";
        const std::string text(line.substr(std::min(line.find_first_not_of(" \t"), line.size())));
        if (text.empty()) {
            want.out += "Vexel: Create Process Error\r\n";
            want.status = -1;
        } else if (const int32_t code = ExitCodeOf(want.started.emplace_back(text))) {
            want.out += "Vexel: Command error return(" + std::to_string(code) + ")\r\n";
            want.status = -1;
        }
        if (want.status != 0) want.givenBack = GivenBack(owners, i, want.started.size());
    }
    return want;
}

// The texts of the message lines, each checked for its form.
std::vector<std::string> MessageTexts(const std::string& out) {
    std::vector<std::string> said;
    for (std::size_t at = 0; at < out.size(); at += said.back().size() + 9) {
        const std::size_t end = out.find("\r\n", at);
        CHECK(end != std::string::npos && out.compare(at, 7, "Vexel: ") == 0);
        said.push_back(out.substr(at + 7, end - at - 7));
        CHECK(said.back().find_first_of("\r\n") == std::string::npos);
    }
    CHECK(!said.empty());
    return said;
}

} // namespace
} // namespace vexel

using namespace vexel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size > 8192) return 0; // the plain procedure is slow on long makefiles
    // The makefile is the input; stamps and exit codes follow from the names.
    FakePlatform p;
    p.files.makefile.assign(reinterpret_cast<const char*>(data), size);
    std::map<std::string, int> asked; // by the staleness phase, before any command
    p.files.stampOf = [&](const std::string& name) {
        if (p.processes.events.empty()) ++asked[name];
        return StampAfter(name, p.processes.started.size());
    };
    p.processes.exitCodeOf = ExitCodeOf;
    p.names.leadBytes = Lead;
    Platform platform = p.Get();
    const int32_t status = RunVexel(platform);
    std::set<std::string> read;
    for (const auto& [name, times] : asked)
        CHECK(read.insert(name).second && times == 1);
    CHECK(status == 0 || status == -1);
    const std::string& out = p.streams.standardOutput;
    const std::vector<std::string> said = MessageTexts(out);
    MakeLines lines;
    lines.Assign(p.files.makefile);
    CheckLines(lines, p.files.makefile);
    std::vector<Record> records;
    const std::string refused = PlainRead(lines, records);
    if (!refused.empty() || said[0].starts_with("Circular ")) {
        // Files may have been asked for while the makefile was read.
        CHECK(status == -1 && said.size() == 1 && p.processes.started.empty());
        CHECK(refused.empty() ? said[0].ends_with(" dependency dropped.") : said[0] == refused);
        return 0;
    }

    // Every file named once, whether or not the marking needs its stamp.
    std::set<std::string> files;
    std::vector<Owner> owners;
    const std::vector<std::string_view> commands = PlainCommands(lines, records, files, owners);
    CHECK(read == files);
    const Expected want = PlainRun(commands, owners);
    CHECK(out == want.out && p.processes.started == want.started && status == want.status);
    CHECK(p.files.setStamps == want.givenBack);
    return 0;
}
