// Message lines and the environment lookup, byte for byte.
#include <gtest/gtest.h>

#include "fake_platform.h"
#include "run/environment.h"
#include "run/failure.h"
#include "run/message.h"

namespace vexel {
namespace {

class Recorder : public FakePlatform {
public:
    std::string log, environment; // environment: the value of every variable
    int writeError = 0;

    void WriteLog(const char* data, std::size_t size) override { log.append(data, size); }
    int WriteStandardOutput(const char* data, std::size_t size) override {
        return writeError != 0 ? writeError : FakePlatform::WriteStandardOutput(data, size);
    }
    uint32_t ReadEnvironment(const std::string&, char* buffer, uint32_t size) override {
        const auto length = static_cast<uint32_t>(environment.size());
        if (length + 1 > size) return length + 1;
        std::memcpy(buffer, environment.c_str(), length + 1);
        return length;
    }
};

TEST(PrintMessage, WritesWholeLinesToEitherSinkAndRaisesOnFailedWrites) {
    for (const std::string& text :
         {std::string(), std::string("\tcc -c a.c"), std::string(300, 'x')}) {
        Recorder console, logged;
        MessageWriter toConsole(console), toLog(logged);
        toLog.UseLog();
        toConsole.PrintMessage(text);
        toLog.PrintMessage(text);
        EXPECT_EQ(console.standardOutput, "Vexel: " + text + "\r\n");
        EXPECT_EQ(logged.log, "Vexel: " + text + "\r\n");
        EXPECT_EQ(logged.standardOutput, "");
    }
    Recorder full;
    full.writeError = 28;
    MessageWriter out(full);
    try {
        out.PrintMessage("lost");
        ADD_FAILURE() << "a failed write must raise";
    } catch (const UnexpectedFailure& failure) {
        EXPECT_STREQ(failure.Kind(), "InOutError");
        EXPECT_NE(std::string(failure.what()).find("28"), std::string::npos) << failure.what();
    }
}

TEST(GetEnvValue, ReadsUpTo1024BytesAndSaysWhyNot) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "Vexel: EnvNotExists\r\n"},
        {"cmd.exe", ""},
        {std::string(1024, 'c'), ""},
        {std::string(1025, 'c'), "Vexel: EnvLengthOver\r\n"},
    };
    for (const auto& [environment, message] : cases) {
        Recorder platform;
        platform.environment = environment;
        MessageWriter out(platform);
        std::string value = "old";
        EXPECT_EQ(GetEnvValue(platform, out, "COMSPEC", value), message.empty());
        EXPECT_EQ(value, message.empty() ? environment : "") << environment.size();
        EXPECT_EQ(platform.standardOutput, message) << environment.size();
    }
}

} // namespace
} // namespace vexel
