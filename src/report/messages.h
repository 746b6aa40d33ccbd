// Every text the tool says, as it says it, and the form of a message line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vexel::messages {

// A message line: "Vexel: " + text + CR LF.
inline std::string Line(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 9);
    line.append("Vexel: ").append(text).append("\r\n");
    return line;
}

inline constexpr std::string_view EnvNotExists = "EnvNotExists";
inline constexpr std::string_view EnvLengthOver = "EnvLengthOver";
inline constexpr std::string_view GetEnvComSpecError = "Get Env(COMSPEC) Error";
inline constexpr std::string_view ParamError = "Param Error";
inline constexpr std::string_view MakeFileOpenError = "MakeFile Open Error";
inline constexpr std::string_view TargetLineSyntaxError = "Target Line Syntax error";
inline constexpr std::string_view UpToDate = "Target is up to date.";
inline constexpr std::string_view CreateProcessError = "Create Process Error";
inline constexpr std::string_view ExitCodeError = "Exit Code Error";

inline std::string DupTarget(std::string_view target) {
    return "Dup Target " + std::string(target);
}

inline std::string Circular(std::string_view target) {
    return "Circular " + std::string(target) + " dependency dropped.";
}

inline std::string CommandErrorReturn(int32_t exitCode) {
    return "Command error return(" + std::to_string(exitCode) + ")";
}

// Said once on the caller's standard error, when the log named cannot be
// created: from then on every message line is lost.
inline std::string LogNotCreated(std::string_view name) {
    return "Log file " + std::string(name) + " cannot be created; messages are lost";
}

} // namespace vexel::messages
