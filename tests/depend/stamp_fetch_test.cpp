// The fetch of many stamps: answers in the order asked, whatever the number
// of threads; a helper's failure reaches the one who takes the answers; a
// fetch dropped unread stops its helpers.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "depend/stamp_fetch.h"
#include "fakes/fake_platform.h"

namespace vexel {
namespace {

// Files f0..f4999, each written at its number of seconds; enough for helpers.
struct ManyFiles {
    ManyFiles() {
        files.stampOf = [](const std::string& name) {
            return AgeStamp::At(std::stoll(name.substr(1)), 0);
        };
        for (int i = 0; i < 5000; ++i)
            paths.push_back(std::to_string(i).insert(0, 1, 'f'));
    }
    void AskAll(StampFetch& fetch) const {
        for (const std::string& path : paths)
            fetch.Ask(path);
    }
    FakeFiles files;
    std::vector<std::string> paths;
};

TEST(StampFetch, AnswersInTheOrderAskedWhateverTheThreads) {
    ManyFiles many;
    for (const unsigned threads : {1u, 4u}) {
        many.files.stampQueries.clear();
        StampFetch fetch(many.files, threads);
        many.AskAll(fetch);
        const StampAnswers answers = fetch.TakeAnswers();
        ASSERT_EQ(answers.Count(), 5000u);
        for (std::size_t i = 0; i < answers.Count(); ++i)
            ASSERT_EQ(answers[i], AgeStamp::At(static_cast<int64_t>(i), 0)) << threads;
        EXPECT_EQ(many.files.stampQueries.size(), 5000u);
    }
}

TEST(StampFetch, AFailureOfAHelperReachesTheTaker) {
    ManyFiles many;
    many.files.stampRunsOutOfMemory = true;
    StampFetch fetch(many.files, 4);
    many.AskAll(fetch);
    EXPECT_THROW(fetch.TakeAnswers(), std::bad_alloc);
}

TEST(StampFetch, ADroppedFetchStopsItsHelpers) {
    // Helpers have started when the fetch is dropped: it returns without the
    // answers, no file asked twice.
    ManyFiles many;
    {
        StampFetch fetch(many.files, 4);
        many.AskAll(fetch);
    }
    for (const auto& [name, asked] : many.files.stampQueries)
        ASSERT_EQ(asked, 1) << name;
}

} // namespace
} // namespace vexel
