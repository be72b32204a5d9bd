#include "model/Balance.h"

#include <algorithm>

namespace kolvane {

double BalanceSinglePhase(const ValueArray& v, double& qi, double& qo) {
    qi = v[0] * v[1] * (v[2] - v[3]) * v[4];
    qo = v[5] * v[6] * (v[7] - v[8]);
    return qo + v[4] * v[9] - qi;
}

double BalanceCondensing(const ValueArray& v, double& qi, double& qo) {
    qi = (1 - v[0] / 100) * v[1] * v[2] * v[3];
    qo = v[4] * v[5] * (v[6] - v[7]);
    return qo + v[3] * v[8] - qi;
}

std::optional<bool> MediumTakesHeat(double t1, double t2, std::optional<double> ti1,
                                    std::optional<double> ti2) {
    if (t2 > t1) return false;
    if (t2 < t1) return true;
    if (!ti1 || !ti2) return std::nullopt;
    return std::max(t1, t2) >= std::min(*ti1, *ti2);
}

} // namespace kolvane
