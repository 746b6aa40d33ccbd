#include "depend/stamp_fetch.h"

#include <algorithm>
#include <string>
#include <utility>

namespace vexel {

unsigned StampThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 2u, 8u);
}

StampFetch::StampFetch(FileSystem& files, unsigned threads) : files_(files), threads_(threads) {}

StampFetch::~StampFetch() {
    Stop();
}

void StampFetch::Ask(std::string_view path) {
    if (!pending_) {
        // Added while helpers read other batches: the deque moves none.
        const std::lock_guard<std::mutex> hold(lock_);
        pending_ = &batches_.emplace_back();
    }
    pending_->paths[pending_->count++] = path;
    ++asked_;
    if (pending_->count == Batch) Publish();
}

void StampFetch::AwaitAnswers() {
    if (pending_) Publish();
    {
        const std::lock_guard<std::mutex> hold(lock_);
        closed_ = true;
    }
    more_.notify_all();
    Work();
    for (std::thread& helper : helpers_)
        helper.join();
    helpers_.clear();
    if (failure_) std::rethrow_exception(failure_);
}

void StampFetch::Publish() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        ++shared_;
    }
    pending_ = nullptr;
    more_.notify_one();
    StartHelpers();
}

void StampFetch::StartHelpers() {
    const std::size_t wanted = std::min<std::size_t>(threads_, asked_ / FilesPerStampThread);
    while (!helpersRefused_ && helpers_.size() + 1 < wanted) {
        try {
            helpers_.emplace_back([this] { Work(); });
        } catch (const std::exception&) {
            helpersRefused_ = true; // the threads there are do the work
        }
    }
}

void StampFetch::Work() {
    try {
        std::string path;
        for (;;) {
            Questions* batch = nullptr;
            {
                std::unique_lock<std::mutex> hold(lock_);
                more_.wait(hold, [&] { return stopped_ || closed_ || taken_ < shared_; });
                if (stopped_ || taken_ == shared_) return;
                batch = &batches_[taken_++];
            }
            for (std::size_t i = 0; i < batch->count; ++i) {
                path.assign(batch->paths[i]);
                batch->stamps[i] = files_.FileAgeStamp(path);
            }
        }
    } catch (...) {
        // Given to the thread that takes the answers, which throws it once
        // all have stopped.
        const std::lock_guard<std::mutex> hold(lock_);
        if (!failure_) failure_ = std::current_exception();
        stopped_ = true;
        more_.notify_all();
    }
}

void StampFetch::Stop() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stopped_ = true;
    }
    more_.notify_all();
    for (std::thread& helper : helpers_)
        helper.join();
}

} // namespace vexel
