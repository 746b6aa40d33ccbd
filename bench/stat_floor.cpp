// The floor of an up-to-date check: stats each name of a list (one a line)
// once, shared by as many threads as Vexel's stamp fetch uses, and prints how
// many names have a time. Nothing else: no makefile, no graph.
//
//   stat_floor LIST
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "depend/stamp_fetch.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: stat_floor LIST\n";
        return 2;
    }
    std::ifstream list(argv[1], std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(list), {}};
    std::vector<std::string> names;
    for (std::size_t start = 0, end; start < text.size(); start = end + 1) {
        end = std::min(text.find('\n', start), text.size());
        if (end > start) names.emplace_back(text, start, end - start);
    }

    // As the stamp fetch shares its work: batches taken in turn.
    constexpr std::size_t Batch = 64;
    std::atomic<std::size_t> next{0}, timed{0};
    auto work = [&] {
        std::size_t found = 0;
        for (std::size_t first; (first = next.fetch_add(Batch)) < names.size();) {
            for (std::size_t i = first; i < std::min(first + Batch, names.size()); ++i) {
                struct stat status {};
                found += ::stat(names[i].c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
            }
        }
        timed += found;
    };
    const unsigned threads = vexel::StampThreads();
    const std::size_t useful =
        std::min<std::size_t>(threads, names.size() / vexel::FilesPerStampThread);
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < useful; ++i)
        helpers.emplace_back(work);
    work();
    for (std::thread& helper : helpers)
        helper.join();
    std::cout << timed << " of " << names.size() << " names have a time (" << threads
              << " threads at most)\n";
    return 0;
}
