// The command that end-to-end tests put into makefiles. It carries out its
// arguments as a sequence of actions and reports through files and its exit
// code: only "print" writes to standard output, which the tests compare byte
// for byte (and which is the log file when the tool runs with one).
//
//   append FILE TEXT   append TEXT and a LF to FILE (records the order of runs)
//   touch FILE         create FILE, or set its modification time to now
//   readonly FILE      take away every write permission of FILE
//   link TARGET NAME   replace NAME by a symbolic link to TARGET
//   args FILE ARG...   append each remaining argument and a LF to FILE, then stop
//   print TEXT         write TEXT, without a line end, to standard output
//   exit N             end with exit code N (N may be negative)
//   signal N           raise signal N (POSIX)
//   ctrl N             send console control event N (0 Ctrl+C, 1 Ctrl+Break) to
//                      every process of the console (Windows); 102 if it cannot
//   interrupt N        ignore, then send, signal N to the parent (POSIX) or
//                      event N to the console, and wait until it has come
//                      here too (Windows): the parent is interrupted while
//                      this command goes on to its end
//   sleep MS           wait MS milliseconds
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// Codes of the child's own failures, apart from any code a test asks for.
constexpr int UsageError = 100;
constexpr int FileError = 101;
constexpr int EventError = 102;

// Binary mode, so that a line ends in LF alone on Windows too.
bool Append(const char* file, const std::string& text) {
    std::FILE* stream = std::fopen(file, "ab");
    if (stream == nullptr) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fclose(stream) == 0 && written;
}

#ifdef _WIN32
HANDLE eventCame = nullptr;

BOOL WINAPI Ignore(DWORD) {
    SetEvent(eventCame);
    return TRUE;
}
#endif

bool InterruptParent(int event) {
#ifdef _WIN32
    eventCame = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return eventCame != nullptr && SetConsoleCtrlHandler(Ignore, TRUE) &&
           GenerateConsoleCtrlEvent(static_cast<DWORD>(event), 0) &&
           WaitForSingleObject(eventCame, 10000) == WAIT_OBJECT_0;
#else
    return std::signal(event, SIG_IGN) != SIG_ERR && ::kill(::getppid(), event) == 0;
#endif
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view action = argv[i];
        const int left = argc - i - 1;
        std::error_code error;
        if (action == "append" && left >= 2) {
            if (!Append(argv[i + 1], std::string(argv[i + 2]) + "\n")) return FileError;
            i += 2;
        } else if (action == "touch" && left >= 1) {
            if (!Append(argv[++i], "")) return FileError;
            std::filesystem::last_write_time(argv[i], std::filesystem::file_time_type::clock::now(),
                                             error);
            if (error) return FileError;
        } else if (action == "link" && left >= 2) {
            std::filesystem::remove(argv[i + 2], error);
            std::filesystem::create_symlink(argv[i + 1], argv[i + 2], error);
            if (error) return FileError;
            i += 2;
        } else if (action == "interrupt" && left >= 1) {
            if (!InterruptParent(std::atoi(argv[++i]))) return EventError;
        } else if (action == "readonly" && left >= 1) {
            const auto write = static_cast<std::filesystem::perms>(0222);
            std::filesystem::permissions(argv[++i], write, std::filesystem::perm_options::remove,
                                         error);
            if (error) return FileError;
        } else if (action == "args" && left >= 1) {
            std::string lines;
            for (int k = i + 2; k < argc; ++k)
                lines.append(argv[k]).append("\n");
            return Append(argv[i + 1], lines) ? 0 : FileError;
        } else if (action == "print" && left >= 1) {
            std::fputs(argv[++i], stdout);
            if (std::fflush(stdout) != 0) return FileError;
        } else if (action == "exit" && left >= 1) {
            // On Windows the code reaches the parent as 32 bits, so
            // -1073741819 arrives as 0xC0000005.
            std::exit(static_cast<int>(std::strtoll(argv[++i], nullptr, 10)));
        } else if (action == "sleep" && left >= 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(argv[++i])));
        } else if (action == "ctrl" && left >= 1) {
#ifdef _WIN32
            if (!GenerateConsoleCtrlEvent(static_cast<DWORD>(std::atoi(argv[++i])), 0))
#endif
                return EventError;
        } else if (action == "signal" && left >= 1) {
            std::raise(std::atoi(argv[++i]));
            return UsageError; // the signal did not end the process
        } else {
            return UsageError;
        }
    }
    return 0;
}
