// Reading many files' age stamps at once: the file system answers a few
// questions at a time faster than one after another, and answers them while
// the caller goes on with its own work.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
#include <string_view>

#include "os/platform.h"

namespace vexel {

// Below this many files per thread no thread is started (the benchmark's
// stat floor shares its work the same way).
constexpr std::size_t FilesPerStampThread = 512;

// The number of threads that share a fetch: the hardware's, at least 2 and
// at most 8.
unsigned StampThreads();

// The stamps of the files asked for, numbered in the order asked, from 0.
class StampAnswers {
public:
    // Answers a block, as the fetch takes the questions: a batch's answers
    // go to a block of their own.
    static constexpr std::size_t Block = 64;

    std::size_t Count() const { return count_; }
    // Answer n, below Count().
    const AgeStamp& operator[](std::size_t n) const { return blocks_[n / Block][n % Block]; }

private:
    friend class StampFetch;
    std::deque<std::array<AgeStamp, Block>> blocks_;
    std::size_t count_ = 0;
};

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
    // Answers not taken are dropped: the helpers stop after the files they
    // are reading.
    ~StampFetch();

    // Asks for the stamp of the file named path, whose bytes must stay
    // where they are until the answers are taken.
    void Ask(std::string_view path);

    // Waits until every answer has come, the calling thread reading its
    // share, and hands them over; what a helper threw is thrown here. Called
    // once, after the last Ask.
    StampAnswers TakeAnswers();

private:
    struct Work; // the questions, and the threads that answer them
    std::unique_ptr<Work> work_;
};

} // namespace vexel
