#pragma once

#include <cmath>

namespace kolvane::formula_limits {

// The formula language's magnitude guard: every intermediate result must stay
// within kMaxMagnitude; sums are checked on a tenth of their terms, products
// and powers through their logarithms.
inline const long double kMaxMagnitude = 9.99999999E37L;
inline const long double kSumBound = 9.99999999E36L;
inline const long double kLnMax = std::log(kMaxMagnitude);
inline const long double kSqrtMax = std::sqrt(kMaxMagnitude);

} // namespace kolvane::formula_limits
