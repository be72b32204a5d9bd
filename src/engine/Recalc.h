#pragma once

#include "model/Balance.h"

namespace kolvane {

// A pass whose area and heat loss keep moving stops here.
constexpr int kMaxWalks = 200;
// Walks that feed the model's loss straight back before the loss is
// bracketed and halved instead.
constexpr int kPlainWalks = 30;

} // namespace kolvane
