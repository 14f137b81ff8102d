#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// The value `percent` of the way up the sorted measurements (50: the median); 0 when there are
// none, so a benchmark that measured nothing prints zeros instead of reading past its data.
inline double percentile(std::vector<double> values, int percent)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, values.size() * std::size_t(percent) / 100)];
}

inline double median(std::vector<double> values)
{
    return percentile(std::move(values), 50);
}
