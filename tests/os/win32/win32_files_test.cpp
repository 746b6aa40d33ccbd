// The age stamp, read the cheap way where the rule allows it, against the
// plain search on random trees (under Wine, again with code page 932): every
// name, odd forms included, must get the same stamp.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "os/win32/win32_platform.h"
#include "os/windows_stamp_way.h"

namespace vexel {
namespace {

// Makes files and directories with random names and times under the current
// directory, and gives the name of each in several forms.
std::vector<std::string> MakeTree(std::mt19937& random) {
    // The last four are characters of code page 932 (under it: second bytes like a back
    // slash's and a bar's, and kana); under 1252 they are other names, or none.
    const std::vector<std::string> pieces = {
        "a",        "B",        "c1",       "~",       ".x", " y", "long_name_of_a_file",
        "\x95\x5C", "\x83\x5C", "\x95\x7C", "\x82\xA0"};
    std::vector<std::string> names, directories = {""};
    for (int i = 0; i < 150; ++i) {
        const std::string name = directories[random() % directories.size()] +
                                 pieces[random() % pieces.size()] +
                                 pieces[random() % pieces.size()];
        const FILETIME time{DWORD(random()), DWORD(0x019DB1DE + random() % 0x01000000)}; // 1970-
        if (random() % 4 == 0) {
            if (!::CreateDirectoryA(name.c_str(), nullptr)) continue;
            directories.push_back(name + "\\");
        } else {
            const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, 0, 0);
            if (file == INVALID_HANDLE_VALUE) continue;
            EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &time)) << name;
            ::CloseHandle(file);
        }
        // Forms that the rule sends to the search (a trailing dot or slash,
        // patterns, drive-relative...) would compare the search with itself.
        char full[1024], shortName[1024];
        ::GetFullPathNameA(name.c_str(), sizeof full, full, nullptr);
        std::string changed = name; // other letter case, other slash
        for (char& c : changed)
            c = c == '\\' ? '/' : (c | 32) >= 'a' && (c | 32) <= 'z' ? char(c ^ 32) : c;
        const DWORD shortSize = ::GetShortPathNameA(name.c_str(), shortName, sizeof shortName);
        names.insert(names.end(), {name, changed, "no\\..\\" + name, full, name + "x",
                                   std::string(shortName, shortSize)}); // 8.3, or none: ""
    }
    return names;
}

TEST(Win32FileAgeStamp, EqualsTheSearchForEveryNameOfRandomTrees) {
    int cheapTimes = 0;
    for (unsigned seed = 1; seed <= 4; ++seed) {
        // Long, so that some full paths pass MAX_PATH.
        const auto root = std::filesystem::temp_directory_path() /
                          (std::to_string(::GetCurrentProcessId()) + std::string(30 * seed, 'r'));
        ASSERT_TRUE(std::filesystem::create_directory(root));
        std::filesystem::current_path(root);
        std::mt19937 random(seed);
        SystemFiles files;
        for (const std::string& name : MakeTree(random)) {
            const AgeStamp stamp = files.FileAgeStamp(name);
            EXPECT_EQ(stamp, SearchedAgeStamp(name)) << "seed " << seed << ": \"" << name << '"';
            const StampRoute route = ChooseStampWay(name, SystemNames().LeadBytes());
            cheapTimes += stamp.HasTime() && route.way == StampWay::Attributes;
        }
        std::filesystem::current_path(root.parent_path());
        EXPECT_GT(std::filesystem::remove_all(root.string().insert(0, "\\\\?\\")), 20u) << root;
    }
    EXPECT_GE(cheapTimes, 200) << "the cheap way is taken";
}

} // namespace
} // namespace vexel
