// Reading many files' age stamps at once: the file system answers a few
// questions at a time faster than one after another, and answers them while
// the caller goes on with its own work.
#pragma once

#include <array>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

#include "os/platform.h"

namespace vexel {

// Below this many files per thread no thread is started (the benchmark's
// stat floor shares its work the same way).
constexpr std::size_t FilesPerStampThread = 512;

// The number of threads that share a fetch: the hardware's, at least 2 and
// at most 8.
unsigned StampThreads();

// The stamps of files asked for one by one, each read once. Helper threads
// start as the questions grow in number, so that with n files asked
// min(threads, n / FilesPerStampThread) threads share the work, the one that
// takes the answers included; they answer while more questions come. A
// thread that cannot be started leaves its share to the others. files must
// answer FileAgeStamp from several threads at once.
class StampFetch {
public:
    StampFetch(FileSystem& files, unsigned threads);
    StampFetch(const StampFetch&) = delete;
    StampFetch& operator=(const StampFetch&) = delete;
    // Answers not taken yet are dropped: the helpers stop after the files
    // they are reading.
    ~StampFetch();

    // Asks for the stamp of the file named path, whose bytes must stay
    // where they are until the answers have come. Answers are numbered in
    // the order asked, from 0.
    void Ask(std::string_view path);

    // Waits until every answer has come, the calling thread reading its
    // share; what a helper threw is thrown here. Called once, after the
    // last Ask.
    void AwaitAnswers();

    // Answer number n, once all have come.
    const AgeStamp& Answer(std::size_t n) const { return batches_[n / Batch].stamps[n % Batch]; }

private:
    static constexpr std::size_t Batch = 64; // files taken at a time
    // Held in place from first to last: nothing a helper touches is
    // allocated or freed by another thread while the fetch goes on.
    struct Questions {
        std::size_t count = 0;
        std::array<std::string_view, Batch> paths;
        std::array<AgeStamp, Batch> stamps;
    };

    void Publish();
    void StartHelpers();
    void Work();
    void Stop();

    FileSystem& files_;
    const unsigned threads_;
    std::size_t asked_ = 0;
    bool helpersRefused_ = false;  // a thread could not be started
    Questions* pending_ = nullptr; // the batch being filled, not yet shared

    std::mutex lock_; // guards what follows up to the helpers
    std::condition_variable more_;
    std::deque<Questions> batches_; // never moved, so a helper keeps its batch
    std::size_t shared_ = 0;        // batches given to the helpers
    std::size_t taken_ = 0;         // batches taken by a thread
    bool closed_ = false;           // no batch comes any more
    bool stopped_ = false;          // the answers are not wanted, or a helper failed
    std::exception_ptr failure_;

    std::vector<std::thread> helpers_;
};

} // namespace vexel
