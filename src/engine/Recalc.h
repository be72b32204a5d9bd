#pragma once

#include "engine/Solver.h"

namespace kolvane {

// Heat-balance residuals over their value arrays (members in the order the
// pass hands them to the solver). Qi: heat given by the medium over the
// heating time; Qo: heat taken up by the contents.
//   single phase: W, ci, Ti1, Ti2, tau, M, co, T2, T1, QL
//   condensing:   x, W, r, tau, M, co, T2, T1, QL
double BalanceSinglePhase(const ValueArray& v, double& qi, double& qo);
double BalanceCondensing(const ValueArray& v, double& qi, double& qo);

// A pass that keeps rewriting the area or the pressure drop stops here.
constexpr int kMaxWalks = 200;

} // namespace kolvane
