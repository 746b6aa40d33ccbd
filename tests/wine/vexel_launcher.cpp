// Starts a program with this launcher's environment changed, waits for it and
// exits with its exit code. Wine always sets COMSPEC, so tests run vexel.exe
// through this to take it away or give it an unusual value. With --console
// the program gets a console of its own, which console control events reach.
//   vexel_launcher.exe [--console] [--unset NAME | --set NAME=VALUE]... -- program.exe args...
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Environment names compare without regard to case, as on Windows. The
// search starts at 1: drive entries such as "=C:=C:\dir" begin with '='.
std::string NameOf(const std::string& entry) {
    return entry.substr(0, entry.find('=', 1));
}

// The command line after the "--" token, exactly as the caller wrote it.
const char* AfterSeparator(const char* p) {
    bool first = true; // the launcher's own name: quotes, no backslash escapes
    for (;; first = false) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (*p == '\0') return nullptr;
        const char* start = p;
        bool quoted = false;
        for (int backslashes = 0; *p != '\0' && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '"' && (first || backslashes % 2 == 0)) quoted = !quoted;
            backslashes = *p == '\\' ? backslashes + 1 : 0;
        }
        if (!first && p - start == 2 && std::strncmp(start, "--", 2) == 0)
            return p + std::strspn(p, " \t");
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> environment;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry != '\0'; entry += std::strlen(entry) + 1)
        environment.emplace_back(entry);
    FreeEnvironmentStringsA(strings);

    int i = 1;
    const bool console = i < argc && !std::strcmp(argv[i], "--console");
    i += console ? 1 : 0;
    for (; i + 1 < argc && (!std::strcmp(argv[i], "--set") || !std::strcmp(argv[i], "--unset"));
         i += 2) {
        const std::string value = argv[i + 1];
        const std::string name = NameOf(value);
        std::erase_if(environment, [&](const std::string& e) {
            return !_stricmp(NameOf(e).c_str(), name.c_str());
        });
        if (!std::strcmp(argv[i], "--set")) environment.push_back(value);
    }
    const char* commandText = AfterSeparator(GetCommandLineA());
    if (i >= argc || std::strcmp(argv[i], "--") != 0 || commandText == nullptr || !*commandText) {
        std::fputs("usage: vexel_launcher [--console] [--unset NAME | --set NAME=VALUE]... -- "
                   "program...\n",
                   stderr);
        return 125;
    }

    // The block: "NAME=VALUE" strings, each ended by a NUL, then an empty one.
    std::string block;
    for (const std::string& entry : environment)
        block.append(entry).push_back('\0');
    block.append(environment.empty() ? 2 : 1, '\0');

    std::string commandLine = commandText;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                        console ? CREATE_NEW_CONSOLE : 0, block.data(), nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "vexel_launcher: cannot start %s (error %lu)\n", commandText,
                     GetLastError());
        return 126;
    }
    DWORD code = 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ExitProcess(code); // all 32 bits of the code, as the program gave it
}
