#include "os/posix/first_match.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace vexel {

namespace {

// The pattern taken apart as glob takes it: a directory to start in and one
// step per component, each matched in every directory the step before gave.
struct Walk {
    std::string start;              // "" for the current directory, or a path
    std::vector<std::string> steps; // components, first to last
    bool marked = false;            // a final '/': directories sort with a '/' after
};

// An unescaped '*', '?' or '['.
bool HasMeta(const std::string& text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\\' && at + 1 < text.size())
            ++at;
        else if (text[at] == '*' || text[at] == '?' || text[at] == '[')
            return true;
    }
    return false;
}

// A component without any of these is looked up by name, not matched.
bool IsLiteral(const std::string& step) {
    return step.find_first_of("*?[\\") == std::string::npos;
}

// Each backslash goes, the byte after it stays (a last one goes alone).
std::string Unescape(const std::string& text) {
    std::string plain;
    for (std::size_t at = 0; at < text.size(); ++at)
        if (text[at] != '\\' || ++at < text.size()) plain += text[at];
    return plain;
}

// An unescaped backslash before a slash goes.
void DropEscapeOfSlash(std::string& directory) {
    const std::size_t kept = directory.find_last_not_of('\\');
    const std::size_t backslashes = directory.size() - (kept == std::string::npos ? 0 : kept + 1);
    if (backslashes % 2 == 1) directory.pop_back();
}

Walk Plan(std::string pattern) {
    Walk walk;
    for (;;) {
        const std::size_t slash = pattern.rfind('/');
        if (slash == std::string::npos) {
            walk.steps.push_back(pattern);
            break;
        }
        if (slash == 0 || (slash == 1 && pattern[0] == '\\')) {
            walk.start.assign(1, '/'); // (GCC 12 warns wrongly of = "/")
            walk.steps.push_back(pattern.substr(slash + 1));
            break;
        }
        std::string directory = pattern.substr(0, slash);
        if (slash + 1 == pattern.size() && slash > 1) {
            // "pattern/": the matches of "pattern", directories marked.
            DropEscapeOfSlash(directory);
            walk.marked = walk.marked || walk.steps.empty();
            pattern = std::move(directory);
            continue;
        }
        walk.steps.push_back(pattern.substr(slash + 1));
        if (!HasMeta(directory)) {
            walk.start = Unescape(directory);
            break;
        }
        DropEscapeOfSlash(directory);
        pattern = std::move(directory);
    }
    std::reverse(walk.steps.begin(), walk.steps.end());
    return walk;
}

std::string Join(const std::string& directory, const std::string& name) {
    std::string path = directory;
    if (!path.empty() && path != "/") path += '/';
    return path += name;
}

bool IsDirectory(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

class Directory {
public:
    explicit Directory(const std::string& path)
        : stream_(::opendir(path.empty() ? "." : path.c_str())) {}
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;
    ~Directory() {
        if (stream_ != nullptr) ::closedir(stream_);
    }
    DIR* Get() const { return stream_; }

private:
    DIR* stream_;
};

// Only a directory can hold what a later step matches.
bool MayBeDirectory(DIR* stream, const dirent& entry) {
    if (entry.d_type == DT_DIR) return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) return false;
    struct stat status {};
    return ::fstatat(::dirfd(stream), entry.d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

// What a step matches in one directory, each with the text it sorts by. A
// pattern that ends in '/' matches only directories, unless its last
// component is looked up by name.
std::vector<std::pair<std::string, std::string>>
Matches(const std::string& directory, const std::string& step, bool directoriesOnly) {
    std::vector<std::pair<std::string, std::string>> found;
    if (IsLiteral(step)) {
        struct stat status {};
        if (::lstat(Join(directory, step).c_str(), &status) == 0 || errno == EOVERFLOW)
            found.emplace_back(step, step);
        return found;
    }
    const Directory stream(directory);
    if (stream.Get() == nullptr) return found;
    while (const dirent* entry = ::readdir(stream.Get())) {
        if (directoriesOnly && !MayBeDirectory(stream.Get(), *entry)) continue;
        if (::fnmatch(step.c_str(), entry->d_name, FNM_PERIOD) == 0)
            found.emplace_back(entry->d_name, entry->d_name);
    }
    return found;
}

// Sorted so that the walk meets whole names in glob's order: glob sorts the
// whole names with strcoll, which in the tool's locale (never set, so "C")
// is byte order; in byte order the names under one directory go by the
// component followed by '/' when more follows, so one directory's matches
// can be sorted alone. Smallest last, to be taken first.
void SortForWalk(std::vector<std::pair<std::string, std::string>>& found,
                 const std::string& directory, bool last, bool marked) {
    for (auto& [key, name] : found)
        if (!last || (marked && IsDirectory(Join(directory, name)))) key += '/';
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::strcoll(a.first.c_str(), b.first.c_str()) > 0;
    });
}

} // namespace

std::optional<std::string> FirstMatch(const std::string& pattern) {
    const Walk walk = Plan(pattern);
    struct Level {
        std::string directory;
        std::vector<std::pair<std::string, std::string>> left; // smallest last
    };
    std::vector<Level> levels;
    auto enter = [&](std::string directory) {
        const bool last = levels.size() + 1 == walk.steps.size();
        auto found = Matches(directory, walk.steps[levels.size()], !last || walk.marked);
        SortForWalk(found, directory, last, walk.marked);
        levels.push_back({std::move(directory), std::move(found)});
    };
    enter(walk.start);
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.left.empty()) {
            levels.pop_back();
            continue;
        }
        std::string path = Join(level.directory, level.left.back().second);
        level.left.pop_back();
        if (levels.size() == walk.steps.size()) return path;
        enter(std::move(path));
    }
    return std::nullopt;
}

} // namespace vexel
