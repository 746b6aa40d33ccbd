#include "depend/stamp_fetch.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace vexel {

unsigned StampThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
}

std::vector<AgeStamp> FetchStamps(FileSystem& files, const MakefileNames& names,
                                  std::span<const NameId> paths, unsigned threads) {
    std::vector<AgeStamp> stamps(paths.size());
    constexpr std::size_t Batch = 64; // files taken at a time
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex failureLock;
    std::exception_ptr failure;

    auto work = [&] {
        try {
            std::string path;
            while (!stop) {
                const std::size_t first = next.fetch_add(Batch);
                if (first >= paths.size()) return;
                const std::size_t last = std::min(first + Batch, paths.size());
                for (std::size_t i = first; i < last; ++i) {
                    path.assign(names[paths[i]]);
                    stamps[i] = files.FileAgeStamp(path);
                }
            }
        } catch (...) {
            // Given to the calling thread, which raises it once all have
            // stopped.
            const std::lock_guard<std::mutex> hold(failureLock);
            if (!failure) failure = std::current_exception();
            stop = true;
        }
    };

    const std::size_t useful = std::min<std::size_t>(threads, paths.size() / FilesPerStampThread);
    const std::size_t wanted = useful > 1 ? useful - 1 : 0;
    std::vector<std::thread> helpers;
    for (std::size_t i = 0; i < wanted; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::exception&) {
            break; // the threads there are do the work
        }
    }
    work();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure) std::rethrow_exception(failure);
    return stamps;
}

} // namespace vexel
