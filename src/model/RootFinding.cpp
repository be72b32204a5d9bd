#include "model/RootFinding.h"

#include "model/Errors.h"

#include <cmath>

namespace kolvane {

namespace {
constexpr double kFlatResidual = 1e-50;
constexpr double kStepTolerance = 1e-8;

IterationLimitError NotConverged() {
    return IterationLimitError("计算不收敛：求解未知量的迭代没有收敛");
}
} // namespace

double FindRoot(const ValueArray& values, std::size_t index, double start, double delta,
                const Residual& residual) {
    ValueArray a = values;
    a[index] = start;
    int k = 0;
    for (int iteration = 1;; ++iteration) {
        ++k;
        double d = a[index];
        double f0 = residual(a);
        a[index] = (1 + delta) * d;
        // Once the shrinking perturbation no longer moves a non-zero value,
        // the secant steps have run for hundreds of iterations without
        // settling; returning d would pass an unsolved value off as a root.
        if (a[index] == d && d != 0 && delta < kRootStartDelta) throw NotConverged();
        double f1 = residual(a);
        RequireFinite(f0, "计算出现无效数值，可能是输入数据错误");
        RequireFinite(f1, "计算出现无效数值，可能是输入数据错误");
        double step = std::fabs(f1 - f0) <= kFlatResidual ? 0.0 : delta * d * f0 / (f1 - f0);
        RequireFinite(step, "计算出现无效数值，可能是输入数据错误");
        a[index] = d - step;
        if (k > 20) {
            delta *= 0.1;
            k = 0;
        }
        if (std::fabs(step) < kStepTolerance) return a[index];
        if (iteration >= kFindRootMaxIterations) throw NotConverged();
    }
}

} // namespace kolvane
