#pragma once

#include "model/RootFinding.h"

#include <optional>

namespace kolvane {

// Heat-balance residuals over their value arrays (members in the order the
// pass hands them to the solver). Qi: heat given by the medium over the
// heating time; Qo: heat taken up by the contents. Zero when
// Qo + tau*QL = Qi.
//   single phase: W, ci, Ti1, Ti2, tau, M, co, T2, T1, QL
//   condensing:   x, W, r, tau, M, co, T2, T1, QL
double BalanceSinglePhase(const ValueArray& v, double& qi, double& qo);
double BalanceCondensing(const ValueArray& v, double& qi, double& qo);

// Which side takes up heat. The duty decides: contents heated from t1 to a
// higher t2 take up heat and the medium gives it off, and the reverse. Only
// when t1 equals t2 are the temperatures compared (the medium takes up heat
// when the warmest contents temperature reaches its coldest one); without
// the medium's temperatures there is then no answer.
std::optional<bool> MediumTakesHeat(double t1, double t2, std::optional<double> ti1,
                                    std::optional<double> ti2);

} // namespace kolvane
