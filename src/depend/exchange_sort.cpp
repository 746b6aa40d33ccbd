#include "depend/exchange_sort.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace vexel {

namespace {

using Index = std::ptrdiff_t;
using Key = LevelKey;

bool Before(Key a, Key pivot) {
    return CompareDepends(a, pivot) < 0;
}

bool After(Key a, Key pivot) {
    return CompareDepends(a, pivot) > 0;
}

struct SortState {
    std::vector<Key> keys;
    std::vector<std::size_t> from; // the entry's index before the sort

    explicit SortState(std::span<const Key> levelKeys) : keys(levelKeys.begin(), levelKeys.end()) {
        from.reserve(keys.size());
        for (std::size_t i = 0; i < keys.size(); ++i)
            from.push_back(i);
    }

    void Swap(Index i, Index j) {
        std::swap(keys[static_cast<std::size_t>(i)], keys[static_cast<std::size_t>(j)]);
        std::swap(from[static_cast<std::size_t>(i)], from[static_cast<std::size_t>(j)]);
    }

    Key At(Index i) const { return keys[static_cast<std::size_t>(i)]; }
};

// The exchange sort over [0, count). How a partition's scans find where
// they stop is the scanner's: both scanners give the same stops. Nested
// ranges go to a work list; they never overlap, so the order in which they
// are taken does not change the result. False when the scanner gives up.
template <class Scanner> bool ExchangeSort(SortState& state, Scanner& scanner) {
    std::vector<std::pair<Index, Index>> ranges{{0, static_cast<Index>(state.keys.size()) - 1}};
    while (!ranges.empty()) {
        auto [left, right] = ranges.back();
        ranges.pop_back();
        for (;;) {
            Index i = left;
            Index j = right;
            const Key pivot = state.At((left + right) / 2);
            do {
                if (!scanner.Scan(i, j, left, right, pivot)) return false;
                if (i <= j) scanner.Swap(i++, j--);
            } while (i <= j);
            if (left < j) ranges.emplace_back(left, j);
            if (i >= right) break;
            left = i;
        }
    }
    return true;
}

// Scans entry by entry, as the procedure is written. Gives up when it has
// taken more steps than its budget, which only unlucky orders of Levels
// make it do.
class StepScanner {
public:
    StepScanner(SortState& state, uint64_t budget) : state_(state), budget_(budget) {}

    bool Scan(Index& i, Index& j, Index left, Index right, Key pivot) {
        // The bounds never stop a scan on a list whose root record stands
        // first; they only keep a malformed list in range.
        while (i < right && Before(state_.At(i), pivot))
            ++i, ++steps_;
        while (j > left && After(state_.At(j), pivot))
            --j, ++steps_;
        return ++steps_ <= budget_;
    }

    void Swap(Index i, Index j) { state_.Swap(i, j); }

private:
    SortState& state_;
    uint64_t budget_;
    uint64_t steps_ = 0;
};

// Minimum and maximum key over ranges of entries, to find the entry where a
// scan stops without stepping over all the entries before it.
class KeyTrees {
public:
    explicit KeyTrees(const std::vector<Key>& keys)
        : size_(std::bit_ceil(std::max<std::size_t>(keys.size(), 1))),
          min_(2 * size_, std::numeric_limits<Key>::max()),
          max_(2 * size_, std::numeric_limits<Key>::min()) {
        std::copy(keys.begin(), keys.end(), min_.begin() + static_cast<Index>(size_));
        std::copy(keys.begin(), keys.end(), max_.begin() + static_cast<Index>(size_));
        for (std::size_t node = size_ - 1; node >= 1; --node)
            Pull(node);
    }

    void Set(Index position, Key key) {
        std::size_t node = static_cast<std::size_t>(position) + size_;
        min_[node] = max_[node] = key;
        for (node /= 2; node >= 1; node /= 2)
            Pull(node);
    }

    // The first entry at or after from whose key is at most bound; the
    // number of leaves when there is none.
    Index FirstAtMost(Index from, Key bound) const {
        std::size_t node = static_cast<std::size_t>(from) + size_;
        do {
            while (node % 2 == 0)
                node /= 2;
            if (min_[node] <= bound) {
                while (node < size_) {
                    node *= 2;
                    if (min_[node] > bound) ++node;
                }
                return static_cast<Index>(node - size_);
            }
            ++node;
        } while (!std::has_single_bit(node));
        return static_cast<Index>(size_);
    }

    // The last entry at or before to whose key is at least bound; -1 when
    // there is none.
    Index LastAtLeast(Index to, Key bound) const {
        std::size_t node = static_cast<std::size_t>(to) + 1 + size_;
        do {
            --node;
            while (node > 1 && node % 2 == 1)
                node /= 2;
            if (max_[node] >= bound) {
                while (node < size_) {
                    node = 2 * node + 1;
                    if (max_[node] < bound) --node;
                }
                return static_cast<Index>(node - size_);
            }
        } while (!std::has_single_bit(node));
        return -1;
    }

private:
    void Pull(std::size_t node) {
        min_[node] = std::min(min_[2 * node], min_[2 * node + 1]);
        max_[node] = std::max(max_[2 * node], max_[2 * node + 1]);
    }

    std::size_t size_;
    std::vector<Key> min_;
    std::vector<Key> max_;
};

// Finds each stop with one search in trees of the keys: a partition costs
// a search per exchange, and the exchanges of a partition are at most its
// smaller side, so the whole sort stays within n log² n steps whatever the
// order of Levels.
class SearchScanner {
public:
    explicit SearchScanner(SortState& state) : state_(state), trees_(state.keys) {}

    bool Scan(Index& i, Index& j, Index left, Index right, Key pivot) {
        if (pivot == RootKey) {
            // Only on a list of one or two entries: step as written.
            StepScanner steps(state_, std::numeric_limits<uint64_t>::max());
            return steps.Scan(i, j, left, right, pivot);
        }
        // Keys after the scan's range may be stale; they only matter beyond
        // the bound, where the scan stops anyway.
        if (i < right) i = std::min(trees_.FirstAtMost(i, pivot), right);
        if (j > left) j = std::max(trees_.LastAtLeast(j, pivot), left);
        return true;
    }

    void Swap(Index i, Index j) {
        state_.Swap(i, j);
        trees_.Set(i, state_.At(i));
        trees_.Set(j, state_.At(j));
    }

private:
    SortState& state_;
    KeyTrees trees_;
};

} // namespace

std::optional<std::vector<std::size_t>> ExchangeSortByScanning(std::span<const LevelKey> keys,
                                                               uint64_t budget) {
    SortState state(keys);
    StepScanner scanner(state, budget);
    if (!ExchangeSort(state, scanner)) return std::nullopt;
    return std::move(state.from);
}

std::vector<std::size_t> ExchangeSortBySearching(std::span<const LevelKey> keys) {
    SortState state(keys);
    SearchScanner scanner(state);
    ExchangeSort(state, scanner);
    return std::move(state.from);
}

} // namespace vexel
