// The exchange sort of the build order written plainly, with a nested call,
// for the faster sort and the fuzz targets to be held against. at() fails
// if a scan ever leaves the list.
#pragma once

#include <utility>
#include <vector>

namespace vexel {

// The build order's comparison of two records as written: the root record
// first, itself included, then higher Level first. -1 puts a first, 1 puts
// b first, 0 for equal Levels.
inline int PlainCompareDepends(bool aIsRoot, long aLevel, bool bIsRoot, long bLevel) {
    if (aIsRoot) return -1;
    if (bIsRoot) return 1;
    if (aLevel == bLevel) return 0;
    return aLevel < bLevel ? 1 : -1;
}

// compare(a, b) < 0 puts a before b, > 0 after it.
template <class T, class Compare>
void PlainExchangeSort(std::vector<T>& list, long left, long right, Compare compare) {
    long i;
    do {
        i = left;
        long j = right;
        const T pivot = list[(left + right) / 2];
        do {
            while (compare(list.at(i), pivot) < 0)
                ++i;
            while (compare(list.at(j), pivot) > 0)
                --j;
            if (i <= j) std::swap(list[i++], list[j--]);
        } while (i <= j);
        if (left < j) PlainExchangeSort(list, left, j, compare);
        left = i;
    } while (i < right);
}

} // namespace vexel
