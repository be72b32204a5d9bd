#pragma once

#include "model/Balance.h"

namespace kolvane {

// A pass whose area and heat loss keep moving stops here.
constexpr int kMaxWalks = 200;

} // namespace kolvane
