// The age stamp, read the cheap way where the rule allows it, against the
// plain search on random trees (under Wine, again with code page 932): every
// name, odd forms included, must get the same stamp.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "os/stamp_way.h"
#include "os/win32/win32_platform.h"

namespace vexel {
namespace {

// Makes files and directories with random names and times under the current
// directory, and gives the name of each in several forms.
std::vector<std::string> MakeTree(std::mt19937& random) {
    std::vector<std::string> pieces = {"a", "B", "c1", "~", ".x", " y", "long_name_of_a_file"};
    if (::GetACP() == 932) // second bytes like a back slash's and a bar's; kana
        pieces.insert(pieces.end(), {"\x95\x5C", "\x83\x5C", "\x95\x7C", "\x82\xA0"});
    std::vector<std::string> names = {"", ".", "..", "NUL", "con.txt", "C:", "\\"},
                             directories = {""};
    for (int i = 0; i < 150; ++i) {
        const std::string name = directories[random() % directories.size()] +
                                 pieces[random() % pieces.size()] +
                                 pieces[random() % pieces.size()];
        const uint64_t ticks = 116444736000000000 + (uint64_t(random()) << 23 | random() % 8);
        const FILETIME time{DWORD(ticks), DWORD(ticks >> 32)};
        if (random() % 4 == 0) {
            if (!::CreateDirectoryA(name.c_str(), nullptr)) continue;
            directories.push_back(name + "\\");
        } else {
            const HANDLE file = ::CreateFileA(name.c_str(), GENERIC_WRITE, 0, 0, CREATE_NEW, 0, 0);
            if (file == INVALID_HANDLE_VALUE) continue;
            EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &time)) << name;
            ::CloseHandle(file);
        }
        char full[1024], shortName[1024];
        const std::string drive(full, ::GetFullPathNameA(name.c_str(), sizeof full, full, nullptr));
        std::string changed = name;
        for (char& c : changed)
            c = c == '\\' ? '/' : (c | 32) >= 'a' && (c | 32) <= 'z' ? char(c ^ 32) : c;
        names.insert(names.end(),
                     {name, changed, name + ".", name + " ", name + "\\", name + "/",
                      "no\\..\\" + name, name.substr(0, name.size() - 1) + "?", name + "*", full,
                      drive.substr(0, 2) + name, "\\\\?\\" + drive, name + "x"});
        if (::GetShortPathNameA(name.c_str(), shortName, sizeof shortName) != 0)
            names.push_back(shortName);
    }
    return names;
}

TEST(Win32FileAgeStamp, EqualsTheSearchForEveryNameOfRandomTrees) {
    const std::filesystem::path start = std::filesystem::current_path();
    const LeadByteSet leadBytes = SystemNames().LeadBytes();
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
            cheapTimes +=
                stamp.HasTime() && ChooseStampWay(name, leadBytes).way == StampWay::Attributes;
        }
        std::filesystem::current_path(start);
        EXPECT_GT(std::filesystem::remove_all(root.string().insert(0, "\\\\?\\")), 20u) << root;
    }
    EXPECT_GE(cheapTimes, 200) << "the cheap way is taken";
}

} // namespace
} // namespace vexel
