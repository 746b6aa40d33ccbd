// The tool's exchange sort of the build order, over one key per entry, and
// two ways to make its scans: entry by entry as the procedure is written,
// or as searches that keep every order of keys within n log² n steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <vector>

namespace vexel {

// A record's key: its Level, or RootKey for the root record.
using LevelKey = int64_t;
constexpr LevelKey RootKey = std::numeric_limits<LevelKey>::max();

// -1 puts a first, 1 puts b first, 0 when their Levels are equal: higher
// Level first, and the root record before everything, itself included.
inline int CompareDepends(LevelKey a, LevelKey b) {
    if (a == RootKey) return -1;
    if (b == RootKey) return 1;
    if (a == b) return 0;
    return a < b ? 1 : -1;
}

// The order in which the exchange sort leaves entries with these keys, as
// the entries' indices in sorted order. The procedure is not stable: the
// order it leaves equal keys in is part of its outcome.
//
// Scans entry by entry, as the procedure is written; nothing when that
// takes more than budget steps, as orders that make scanning quadratic do.
std::optional<std::vector<std::size_t>> ExchangeSortByScanning(std::span<const LevelKey> keys,
                                                               uint64_t budget);

// The same order, each scan's stop found by a search in trees of the keys:
// a partition costs a search per exchange, so at most n log² n steps for
// every order of keys.
std::vector<std::size_t> ExchangeSortBySearching(std::span<const LevelKey> keys);

} // namespace vexel
