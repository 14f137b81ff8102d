#include "TabIndex.h"

#include <cmath>
#include <limits>

std::optional<int> TabIndex::ToInt32() const
{
    if (m_Kind != Number || !std::isfinite(m_Number)) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(m_Number);
    if (rounded < double(std::numeric_limits<int>::min()) ||
        rounded > double(std::numeric_limits<int>::max())) {
        return std::nullopt;
    }
    return int(rounded);
}
