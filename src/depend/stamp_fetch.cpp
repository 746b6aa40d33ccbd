#include "depend/stamp_fetch.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vexel {

unsigned StampThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
}

namespace {

constexpr std::size_t Batch = StampAnswers::Block; // files taken at a time

// One batch of questions, and where its answers go.
struct Questions {
    std::size_t count = 0;
    std::array<std::string_view, Batch> paths;
    AgeStamp* stamps = nullptr;
};

} // namespace

// Held in place from first to last: nothing a helper touches is allocated
// or freed by another thread while the fetch goes on.
struct StampFetch::Work {
    Work(FileSystem& system, unsigned threadCount) : files(system), threads(threadCount) {}

    void Publish();
    void StartHelpers();
    void Answer();
    void Stop();

    FileSystem& files;
    const unsigned threads;
    std::size_t asked = 0;
    bool helpersRefused = false;  // a thread could not be started
    Questions* pending = nullptr; // the batch being filled, not yet shared
    StampAnswers answers;         // a block beside each batch

    std::mutex lock; // guards what follows up to the helpers
    std::condition_variable more;
    std::deque<Questions> batches; // never moved, so a helper keeps its batch
    std::size_t shared = 0;        // batches given to the helpers
    std::size_t taken = 0;         // batches taken by a thread
    bool closed = false;           // no batch comes any more
    bool stopped = false;          // the answers are not wanted, or a helper failed
    std::exception_ptr failure;

    std::vector<std::thread> helpers;
};

StampFetch::StampFetch(FileSystem& files, unsigned threads)
    : work_(std::make_unique<Work>(files, threads)) {}

StampFetch::~StampFetch() {
    work_->Stop();
}

void StampFetch::Ask(std::string_view path) {
    Work& work = *work_;
    if (!work.pending) {
        // Added while helpers read other batches: the deques move none.
        const std::lock_guard<std::mutex> hold(work.lock);
        work.pending = &work.batches.emplace_back();
        work.pending->stamps = work.answers.blocks_.emplace_back().data();
    }
    work.pending->paths[work.pending->count++] = path;
    ++work.asked;
    if (work.pending->count == Batch) work.Publish();
}

StampAnswers StampFetch::TakeAnswers() {
    Work& work = *work_;
    if (work.pending) work.Publish();
    {
        const std::lock_guard<std::mutex> hold(work.lock);
        work.closed = true;
    }
    work.more.notify_all();
    work.Answer();
    for (std::thread& helper : work.helpers)
        helper.join();
    work.helpers.clear();
    if (work.failure) std::rethrow_exception(work.failure);
    work.answers.count_ = work.asked;
    return std::move(work.answers);
}

void StampFetch::Work::Publish() {
    {
        const std::lock_guard<std::mutex> hold(lock);
        ++shared;
    }
    pending = nullptr;
    more.notify_one();
    StartHelpers();
}

void StampFetch::Work::StartHelpers() {
    const std::size_t wanted = std::min<std::size_t>(threads, asked / FilesPerStampThread);
    while (!helpersRefused && helpers.size() + 1 < wanted) {
        try {
            helpers.emplace_back([this] { Answer(); });
        } catch (const std::exception&) {
            helpersRefused = true; // the threads there are do the work
        }
    }
}

void StampFetch::Work::Answer() {
    try {
        std::string path;
        for (;;) {
            Questions* batch = nullptr;
            {
                std::unique_lock<std::mutex> hold(lock);
                more.wait(hold, [&] { return stopped || closed || taken < shared; });
                if (stopped || taken == shared) return;
                batch = &batches[taken++];
            }
            for (std::size_t i = 0; i < batch->count; ++i) {
                path.assign(batch->paths[i]);
                batch->stamps[i] = files.FileAgeStamp(path);
            }
        }
    } catch (...) {
        // Given to the thread that takes the answers, which throws it once
        // all have stopped.
        const std::lock_guard<std::mutex> hold(lock);
        if (!failure) failure = std::current_exception();
        stopped = true;
        more.notify_all();
    }
}

void StampFetch::Work::Stop() {
    {
        const std::lock_guard<std::mutex> hold(lock);
        stopped = true;
    }
    more.notify_all();
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace vexel
