// Writes a benchmark makefile, and the files it names with set modification
// times, into a directory.
//
//   make_bench DIR flat N H    N objects oI.o, each made from sI.c and the
//                              headers h0..hH-1, and app made from all the
//                              objects; up to date
//   make_bench DIR fan N       app made from N sources; up to date
//   make_bench DIR wide N K    N targets with K dependency names each, up to date
//   make_bench DIR chain N     t0: t1, t1: t2, ... tN-1: src, up to date
//   make_bench DIR stale N     the same chain with src newer: every target stale
//                              (no command lines, so nothing runs)
//   make_bench DIR valley N    two chains written so that Levels fall, then
//                              rise, in makefile order; no files, so every
//                              target is stale (no command lines)
//   make_bench DIR syntax N    N target lines, the last one malformed
//
// flat, fan and chain also get an equivalent GNUmakefile and build.ninja, with
// the same commands, so that other tools can be timed on the same tree. With
// "windows" as a last argument, build.ninja and .ninja_log are those of ninja
// for Windows (log v7), and every ninja command is `true`.
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

// Whole seconds, so that the nanosecond stamps written to .ninja_log are exactly
// what ninja reads back from the files.
const auto BaseSys = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()) -
                     std::chrono::hours(24);

// Empty files: at a million files and more, a byte each would cost a block each.
void Touch(const fs::path& path, int secondsAfterBase) {
    std::ofstream{path};
    fs::last_write_time(
        path, std::chrono::file_clock::from_sys(BaseSys + std::chrono::seconds(secondsAfterBase)));
}

long long StampNs(int secondsAfterBase) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               (BaseSys + std::chrono::seconds(secondsAfterBase)).time_since_epoch())
        .count();
}

std::string Name(char prefix, long i) {
    std::string name(1, prefix);
    name += std::to_string(i);
    return name;
}

std::string Target(long i) {
    return Name('t', i);
}

// The 64-bit MurmurHash that ninja keeps of each command in .ninja_log.
std::uint64_t CommandHash(const std::string& command) {
    const std::uint64_t m = 0xc6a4a7935bd1e995ull;
    const int r = 47;
    std::size_t len = command.size();
    std::uint64_t h = 0xdecafbaddecafbadull ^ (len * m);
    const unsigned char* data = reinterpret_cast<const unsigned char*>(command.data());
    for (; len >= 8; data += 8, len -= 8) {
        std::uint64_t k;
        std::memcpy(&k, data, 8);
        k *= m;
        k ^= k >> r;
        k *= m;
        h ^= k;
        h *= m;
    }
    if (len > 0) {
        for (std::size_t i = len; i-- > 0;)
            h ^= std::uint64_t(data[i]) << (8 * i);
        h *= m;
    }
    h ^= h >> r;
    h *= m;
    h ^= h >> r;
    return h;
}

// Windows ninja's log v7 keeps a command's rapidhash; every command there is
// `true`, whose hash is this.
constexpr const char* TrueCommandHash = "90a52a5dca2ed61";

// A stamp in Windows ninja's units: 100 ns ticks since 2001-01-01.
long long WindowsStamp(int secondsAfterBase) {
    return StampNs(secondsAfterBase) / 100 + 116444736000000000 - 126227704000000000;
}

// The same targets written for Vexel (MakeFile), GNU make (GNUmakefile) and
// ninja (build.ninja). Ninja also gets the .ninja_log that a priming run would
// leave: without it ninja rebuilds everything, and a real priming run would
// start one process per target.
class Makefiles {
public:
    Makefiles(const fs::path& dir, bool others, bool windows) : others_(others), windows_(windows) {
        vexel_.open(dir / "MakeFile", std::ios::binary);
        if (!others_) return;
        make_.open(dir / "GNUmakefile", std::ios::binary);
        make_ << "# No built-in rules or variables: every rule is written out, as for Vexel.\n"
                 "MAKEFLAGS += -rR\n";
        ninja_.open(dir / "build.ninja", std::ios::binary);
        if (windows_) {
            ninja_ << "rule cc\n  command = true\nrule link\n  command = true\n"
                      "rule chain\n  command = true\n";
        } else {
            ninja_ << "rule cc\n  command = cc -c $in -o $out\n"
                      "rule link\n  command = cc -o $out @$out.rsp\n"
                      "rule chain\n  command = cc -c $out\n";
        }
        log_.open(dir / ".ninja_log", std::ios::binary);
        log_ << (windows_ ? "# ninja log v7\n" : "# ninja log v5\n");
    }

    std::ofstream& Vexel() { return vexel_; }

    // `inputs` and `headers` hold names separated by blanks. `rule` is the
    // ninja rule whose command expands to `command`; `headers` go after its
    // `|`, so that $in is `inputs` alone.
    void Add(const std::string& target, const std::string& inputs, const std::string& headers,
             const char* rule, const std::string& command, int stamp) {
        std::string line = target + ": " + inputs;
        if (!headers.empty()) line += ' ' + headers;
        line += "\n\t" + command + "\n";
        vexel_ << line;
        if (!others_) return;
        make_ << line;
        ninja_ << "build " << target << ": " << rule << ' ' << inputs;
        if (!headers.empty()) ninja_ << " | " << headers;
        ninja_ << '\n';
        if (windows_) {
            log_ << "0\t1\t" << WindowsStamp(stamp) << '\t' << target << '\t' << TrueCommandHash
                 << '\n';
        } else {
            log_ << "0\t0\t" << StampNs(stamp) << '\t' << target << '\t' << std::hex
                 << CommandHash(command) << std::dec << '\n';
        }
    }

    void Default(const std::string& target) {
        if (others_) ninja_ << "default " << target << '\n';
    }

private:
    bool others_, windows_;
    std::ofstream vexel_, make_, ninja_, log_;
};

// app made from `inputs` through a response file, which keeps the command
// short: a command line of a million names fits no system's limit.
void App(const fs::path& dir, Makefiles& files, const std::string& inputs, int stamp) {
    std::ofstream rsp(dir / "app.rsp", std::ios::binary);
    rsp << inputs << '\n';
    files.Add("app", inputs, "", "link", "cc -o app @app.rsp", stamp);
    files.Default("app");
    Touch(dir / "app", stamp);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr
            << "usage: make_bench DIR flat|fan|wide|chain|stale|valley|syntax N [K|H] [windows]\n";
        return 2;
    }
    const fs::path dir = argv[1];
    const std::string shape = argv[2];
    const long n = std::stol(argv[3]);
    const long k = argc > 4 ? std::stol(argv[4]) : 10;
    fs::create_directories(dir);
    const bool windows = argc > 5 && std::string(argv[5]) == "windows";
    Makefiles files(dir, shape == "flat" || shape == "fan" || shape == "chain", windows);
    std::ofstream& makefile = files.Vexel();
    const long sources = n / 10 + 1;

    if (shape == "flat") {
        // Sources and headers, then objects, then app: each newer than what it
        // is made from.
        std::string headers, objects;
        for (long h = 0; h < k; ++h) {
            if (h > 0) headers += ' ';
            headers += Name('h', h);
            Touch(dir / Name('h', h), 0);
        }
        for (long i = 0; i < n; ++i) {
            if (i > 0) objects += ' ';
            objects += Name('o', i) + ".o";
        }
        App(dir, files, objects, 20);
        for (long i = 0; i < n; ++i) {
            const std::string object = Name('o', i) + ".o", source = Name('s', i) + ".c";
            files.Add(object, source, headers, "cc", "cc -c " + source + " -o " + object, 10);
            Touch(dir / source, 0);
            Touch(dir / object, 10);
        }
    } else if (shape == "fan") {
        std::string inputs;
        for (long i = 0; i < n; ++i) {
            if (i > 0) inputs += ' ';
            inputs += Name('s', i) + ".c";
            Touch(dir / (Name('s', i) + ".c"), 0);
        }
        App(dir, files, inputs, 10);
    } else if (shape == "wide") {
        // Each target names earlier targets and shared sources; sources are
        // older than every target, and all targets share one stamp.
        for (long s = 0; s < sources; ++s)
            Touch(dir / Name('s', s), 0);
        for (long i = 0; i < n; ++i) {
            makefile << Target(i) << ':';
            for (long d = 0; d < k; ++d) {
                const long pick = (i * 7919 + d * 104729) % (i + sources);
                makefile << ' ' << (pick < i ? Target(pick) : Name('s', pick - i));
            }
            makefile << "\n\tcc -c " << Target(i) << "\n";
            Touch(dir / Target(i), 10);
        }
    } else if (shape == "chain") {
        for (long i = 0; i < n; ++i) {
            files.Add(Target(i), i + 1 < n ? Target(i + 1) : "src", "", "chain",
                      "cc -c " + Target(i), 10);
            Touch(dir / Target(i), 10);
        }
        files.Default(Target(0));
        Touch(dir / "src", 0);
    } else if (shape == "stale") {
        for (long i = 0; i < n; ++i) {
            makefile << Target(i) << ": " << (i + 1 < n ? Target(i + 1) : "src") << "\n";
            Touch(dir / Target(i), 10);
        }
        Touch(dir / "src", 20);
    } else if (shape == "valley") {
        const long half = n / 2;
        for (long i = half - 1; i >= 0; --i)
            makefile << Name('u', i) << ": " << (i + 1 < half ? Name('u', i + 1) : "src") << "\n";
        for (long i = 0; i < half; ++i)
            makefile << Target(i) << ": " << (i + 1 < half ? Target(i + 1) : "src") << "\n";
    } else if (shape == "syntax") {
        for (long i = 0; i + 1 < n; ++i)
            makefile << Target(i) << ": src\n";
        makefile << "no separator here\n";
    } else {
        std::cerr << "unknown shape " << shape << "\n";
        return 2;
    }
    return 0;
}
