// Writes a benchmark makefile, and the files it names with set modification
// times, into a directory.
//
//   make_bench DIR wide N K    N targets with K dependency names each, up to date
//   make_bench DIR chain N     t0: t1, t1: t2, ... tN-1: src, up to date
//   make_bench DIR stale N     the same chain with src newer: every target stale
//                              (no command lines, so nothing runs)
//   make_bench DIR valley N    two chains written so that Levels fall, then
//                              rise, in makefile order; no files, so every
//                              target is stale (no command lines)
//   make_bench DIR syntax N    N target lines, the last one malformed
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

const auto Base = fs::file_time_type::clock::now() - std::chrono::hours(24);

void Touch(const fs::path& path, int secondsAfterBase) {
    std::ofstream(path).put('x');
    fs::last_write_time(path, Base + std::chrono::seconds(secondsAfterBase));
}

std::string Name(char prefix, long i) {
    std::string name(1, prefix);
    name += std::to_string(i);
    return name;
}

std::string Target(long i) {
    return Name('t', i);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: make_bench DIR wide|chain|stale|valley|syntax N [K]\n";
        return 2;
    }
    const fs::path dir = argv[1];
    const std::string shape = argv[2];
    const long n = std::stol(argv[3]);
    const long k = argc > 4 ? std::stol(argv[4]) : 10;
    fs::create_directories(dir);
    std::ofstream makefile(dir / "MakeFile", std::ios::binary);
    const long sources = n / 10 + 1;

    if (shape == "wide") {
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
    } else if (shape == "chain" || shape == "stale") {
        for (long i = 0; i < n; ++i) {
            makefile << Target(i) << ": " << (i + 1 < n ? Target(i + 1) : "src") << "\n";
            if (shape == "chain") makefile << "\tcc -c " << Target(i) << "\n";
            Touch(dir / Target(i), 10);
        }
        Touch(dir / "src", shape == "stale" ? 20 : 0);
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
