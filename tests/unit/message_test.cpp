#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"
#include "run/environment.h"
#include "run/failure.h"
#include "run/message.h"

namespace vexel {
namespace {

TEST(PrintMessage, WritesWholeLinesOnStandardOutputAndInTheLog) {
    const std::pair<std::string, std::size_t> cases[] = {
        {"", 9}, {"\tcc -c a.c", 19}, {std::string(247, 'y'), 256}, {std::string(300, 'x'), 309}};
    for (const auto& [text, size] : cases) {
        FakePlatform console, logged;
        MessageWriter toConsole(console), toLog(logged);
        toConsole.PrintMessage(text);
        logged.CreateLog("log");
        toLog.UseLog();
        toLog.PrintMessage(text);
        const std::string line = "Vexel: " + text + "\r\n";
        EXPECT_EQ(line.size(), size);
        EXPECT_EQ(console.standardOutput, line);
        EXPECT_EQ(logged.log, line);
        EXPECT_EQ(logged.logWrites, std::vector<std::size_t>{size}); // in one write
        EXPECT_EQ(logged.standardOutput, "");
    }
}

TEST(PrintMessage, StandardOutputFailuresRaiseWithTheirCode) {
    for (const bool bindFails : {true, false}) {
        FakePlatform platform;
        platform.bindError = bindFails ? 105 : 0;
        platform.failingWrite = 1;
        platform.writeError = 112;
        MessageWriter out(platform);
        try {
            out.PrintMessage("Target is up to date.");
            ADD_FAILURE() << "nothing raised";
        } catch (const UnexpectedFailure& failure) {
            EXPECT_STREQ(failure.Kind(), "InOutError");
            EXPECT_NE(std::string(failure.what()).find(bindFails ? "105" : "112"),
                      std::string::npos)
                << failure.what();
        }
        EXPECT_EQ(platform.standardOutput, "");
    }
}

TEST(PrintMessage, LogPathIgnoresEveryFailure) {
    FakePlatform platform;
    platform.logCreationFails = true;
    platform.bindError = 6;
    EXPECT_FALSE(platform.CreateLog("log"));
    MessageWriter out(platform);
    out.UseLog();
    EXPECT_NO_THROW(out.PrintMessage("MakeFile Open Error"));
    EXPECT_EQ(platform.logWrites.size(), 1u);
    EXPECT_EQ(platform.Count("bind"), 0);
}

TEST(StandardOutputWriter, WritesOutAfterEveryAppendOnlyToAConsole) {
    for (const bool console : {false, true}) {
        FakePlatform platform;
        platform.consoleDevice = console;
        StandardOutputWriter writer(platform);
        writer.Append("abc");
        EXPECT_EQ(platform.standardOutput, console ? "abc" : "");
        writer.Append(std::string(130, 'z'));
        EXPECT_EQ(platform.standardOutput.size(), console ? 133u : 128u);
        writer.Flush();
        EXPECT_EQ(platform.standardOutput, "abc" + std::string(130, 'z'));
        EXPECT_EQ(platform.Count("bind"), 1);
    }
}

TEST(GetEnvValue, ReadsUpTo1024BytesAndReportsTheRest) {
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {std::string(1024, 'v'), ""},
        {"C:\\cmd.exe", ""},
        {std::string(1025, 'v'), "Vexel: EnvLengthOver\r\n"},
        {std::string(5000, 'v'), "Vexel: EnvLengthOver\r\n"},
        {"", "Vexel: EnvNotExists\r\n"},
        {std::nullopt, "Vexel: EnvNotExists\r\n"},
    };
    for (const auto& [set, output] : cases) {
        FakePlatform platform;
        platform.environment.clear();
        if (set) platform.environment["X"] = *set;
        MessageWriter out(platform);
        std::string value = "left over";
        EXPECT_EQ(GetEnvValue(platform, out, "X", value), output.empty());
        EXPECT_EQ(value, output.empty() ? *set : "");
        EXPECT_EQ(platform.standardOutput, output);
    }
}

} // namespace
} // namespace vexel
