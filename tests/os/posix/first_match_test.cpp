// The first match of a pattern, cross-checked against glob's first match on
// random small trees and random patterns.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <glob.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

#include "os/posix/first_match.h"

namespace vexel {
namespace {

namespace fs = std::filesystem;

// Without the slashes glob doubles or adds after a directory: a stat sees
// the same file.
std::string Plain(std::optional<std::string> path) {
    if (!path) return "(none)";
    for (std::size_t at; (at = path->find("//")) != std::string::npos;)
        path->erase(at, 1);
    if (path->size() > 1 && path->back() == '/') path->pop_back();
    return *path;
}

std::optional<std::string> GlobFirst(const std::string& pattern) {
    glob_t matches{};
    std::optional<std::string> first;
    if (::glob(pattern.c_str(), 0, nullptr, &matches) == 0) first = matches.gl_pathv[0];
    ::globfree(&matches);
    return first;
}

const char* const Names[] = {"a", "b", "ab", "a-", "a.b", ".a", "-", "[a]", "*", "a\\"};
const char* const Parts[] = {"*",   "?",      "a",  "b",   ".",    "..",  "[ab]", "[!a]",
                             "[.]", ".*",     "*a", "a*",  "?b",   "\\*", "\\a",  "[",
                             "a]",  "[a-b]*", "",   "a\\", "[a]*", "*-",  "\\[a]"};

// Three levels of files, directories, links to entries made before and
// dangling links. Gives the directories it locked: unreadable or
// unsearchable to anyone but root.
std::vector<fs::path> MakeTree(std::mt19937& random, const fs::path& root) {
    std::vector<fs::path> made, directories = {root}, locked;
    const auto deepest = std::distance(root.begin(), root.end()) + 3;
    for (std::size_t next = 0; next < directories.size(); ++next) {
        for (auto count = random() % 7; count > 0; --count) {
            const fs::path path = directories[next] / Names[random() % std::size(Names)];
            if (fs::exists(fs::symlink_status(path))) continue;
            const auto kind = random() % 6;
            if (kind == 0 && !made.empty()) {
                fs::create_symlink(made[random() % made.size()], path);
            } else if (kind == 1) {
                fs::create_symlink(root / "missing", path);
            } else if (kind <= 3 || std::distance(path.begin(), path.end()) >= deepest) {
                ::close(::creat(path.c_str(), 0644));
            } else {
                fs::create_directory(path);
                directories.push_back(path);
            }
            made.push_back(path);
        }
        if (random() % 8 == 0) locked.push_back(directories[next]);
    }
    for (const fs::path& directory : locked)
        ::chmod(directory.c_str(), random() % 2 ? 0311 : 0644);
    return locked;
}

// Up to four components, some joined by "//", some with a final '/'.
std::string RandomPattern(std::mt19937& random) {
    std::string pattern = Parts[random() % std::size(Parts)];
    for (auto more = random() % 4; more > 0; --more)
        pattern +=
            (random() % 6 == 0 ? "//" : "/") + std::string(Parts[random() % std::size(Parts)]);
    return pattern + (random() % 6 == 0 ? "/" : "");
}

TEST(FirstMatch, IsGlobsFirstMatchOnRandomTrees) {
    char name[] = "/tmp/vexel-match-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    ::chmod(name, 0755);
    const fs::path start = fs::current_path();
    std::mt19937 random(22);
    int matched = 0;
    // Root reads locked directories too: it looks as another user.
    const uid_t user = ::geteuid() == 0 ? 65534 : ::geteuid();
    for (int tree = 0; tree < 300; ++tree) {
        const fs::path top = fs::path(name) / std::to_string(tree);
        fs::create_directory(top);
        const std::vector<fs::path> locked = MakeTree(random, top);
        fs::current_path(top);
        const uid_t self = ::geteuid();
        ASSERT_EQ(::seteuid(user), 0);
        for (int i = 0; i < 40; ++i) {
            const std::string pattern = (i % 4 ? "" : top.string() + "/") + RandomPattern(random);
            const std::string expected = Plain(GlobFirst(pattern));
            EXPECT_EQ(Plain(FirstMatch(pattern)), expected) << pattern << " in tree " << tree;
            matched += expected != "(none)";
        }
        ASSERT_EQ(::seteuid(self), 0);
        for (const fs::path& directory : locked)
            ::chmod(directory.c_str(), 0755);
    }
    fs::current_path(start);
    fs::remove_all(name);
    EXPECT_GT(matched, 1000) << "a good share of the patterns match";
}

} // namespace
} // namespace vexel
