// The first match of a pattern, cross-checked against glob's first match on
// random small trees and random patterns.
#include <gtest/gtest.h>

#include <cstdlib>
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

// Glob's first match, with the slashes it doubles or adds after a directory
// taken out (a stat sees the same file), as FirstMatch's answer is.
std::string Plain(std::string path) {
    for (std::size_t at = path.find("//"); at != std::string::npos; at = path.find("//", at))
        path.erase(at, 1);
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string GlobFirst(const std::string& pattern) {
    glob_t matches{};
    std::string first = "(none)";
    if (::glob(pattern.c_str(), 0, nullptr, &matches) == 0 && matches.gl_pathc > 0)
        first = Plain(matches.gl_pathv[0]);
    ::globfree(&matches);
    return first;
}

std::string FirstOf(const std::string& pattern) {
    const auto match = FirstMatch(pattern);
    return match ? Plain(*match) : "(none)";
}

const char* const Names[] = {"a", "b", "ab", "a-", "a.b", ".a", ".", "-", "[a]", "*", "a\\"};
const char* const Parts[] = {"*",   "?",      "a",  "b",   ".",    "..",  "[ab]", "[!a]",
                             "[.]", ".*",     "*a", "a*",  "?b",   "\\*", "\\a",  "[",
                             "a]",  "[a-b]*", "",   "a\\", "[a]*", "*-",  "\\[a]"};

// Up to three levels: files, directories (some unreadable or unsearchable
// to anyone but root), links to entries made before and dangling links.
// Gives the directories it locked.
std::vector<fs::path> MakeTree(std::mt19937& random, const fs::path& root) {
    std::vector<fs::path> made, directories = {root};
    for (std::size_t next = 0; next < directories.size(); ++next) {
        const fs::path directory = directories[next];
        const int count = static_cast<int>(random() % 7);
        for (int i = 0; i < count; ++i) {
            const fs::path path = directory / Names[random() % std::size(Names)];
            if (path.filename() == "." || fs::exists(fs::symlink_status(path))) continue;
            const auto kind = random() % 6;
            const bool deep = std::distance(root.begin(), root.end()) + 3 <=
                              std::distance(path.begin(), path.end());
            if (kind == 0 && !made.empty()) {
                fs::create_symlink(made[random() % made.size()], path);
            } else if (kind == 1) {
                fs::create_symlink(root / "missing", path);
            } else if (kind <= 3 || deep) {
                ::close(::creat(path.c_str(), 0644));
            } else {
                fs::create_directory(path);
                directories.push_back(path);
            }
            made.push_back(path);
        }
    }
    std::vector<fs::path> locked;
    for (const fs::path& directory : directories) // once filled
        if (random() % 8 == 0) locked.push_back(directory);
    for (const fs::path& directory : locked)
        ::chmod(directory.c_str(), random() % 2 ? 0311 : 0644);
    return locked;
}

std::string RandomPattern(std::mt19937& random) {
    std::string pattern;
    const int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) {
        if (i > 0) pattern += random() % 6 == 0 ? "//" : "/";
        pattern += Parts[random() % std::size(Parts)];
    }
    if (random() % 6 == 0) pattern += random() % 2 ? "/" : "//";
    return pattern;
}

TEST(FirstMatch, IsGlobsFirstMatchOnRandomTrees) {
    char name[] = "/tmp/vexel-match-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    ::chmod(name, 0755);
    const fs::path start = fs::current_path();
    std::mt19937 random(22);
    int matched = 0;
    const bool root = ::geteuid() == 0;
    for (int tree = 0; tree < 300; ++tree) {
        const fs::path top = fs::path(name) / std::to_string(tree);
        fs::create_directory(top);
        const std::vector<fs::path> locked = MakeTree(random, top);
        fs::current_path(top);
        // As another user, so that locked directories are locked (root reads
        // them all).
        if (root) {
            ASSERT_EQ(::seteuid(65534), 0);
        }
        for (int i = 0; i < 40; ++i) {
            std::string pattern = RandomPattern(random);
            if (i % 4 == 0) pattern = top.string() + "/" + pattern;
            const std::string expected = GlobFirst(pattern);
            EXPECT_EQ(FirstOf(pattern), expected) << pattern << " in tree " << tree;
            matched += expected != "(none)";
        }
        if (root) {
            ASSERT_EQ(::seteuid(0), 0);
        }
        for (const fs::path& directory : locked)
            ::chmod(directory.c_str(), 0755);
    }
    fs::current_path(start);
    fs::remove_all(name);
    EXPECT_GT(matched, 1000) << "a good share of the patterns match";
}

} // namespace
} // namespace vexel
