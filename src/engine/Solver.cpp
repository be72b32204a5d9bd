#include "engine/Solver.h"

#include "engine/EditD.h"
#include "engine/Errors.h"
#include "engine/UiServices.h"

#include <cmath>
#include <stdexcept>

namespace kolvane {

namespace {
constexpr double kStartValue = 1.2345;
constexpr double kStartDelta = 0.0001;
constexpr double kFlatResidual = 1e-50;
constexpr double kStepTolerance = 1e-8;
constexpr double kWriteTolerance = 2e-6;

// The secant's last evaluation is at a perturbed point; evaluating once more
// at the root makes what the residual writes (the heat quantities of the
// balance) belong to the solution that is shown.
void SettleSideEffects(const ValueArray& values, const Residual& residual) {
    RequireFinite(residual(values), "计算出现无效数值，可能是输入数据错误");
}

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
        if (a[index] == d && d != 0 && delta < kStartDelta) throw NotConverged();
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

void SolveForUnknown(std::span<TEditD* const> members, Color color, const Residual& residual,
                     UiServices& ui) {
    if (members.empty() || members.size() > kMaxRelationMembers)
        throw std::logic_error("a relation has 1 to 201 members");
    try {
        int emptyCount = 0;
        std::size_t lastEmpty = 0;
        TEditD* solved = nullptr;
        std::size_t solvedAt = 0;
        for (std::size_t i = 0; i < members.size(); ++i) {
            TEditD& m = *members[i];
            if (IsBlank(m)) {
                ++emptyCount;
                lastEmpty = i;
            }
            if (m.color() == color && m.MyResolved()) {
                solved = &m;
                solvedAt = i;
            }
        }
        if (emptyCount > 1) return;

        ValueArray values{};
        for (std::size_t i = 0; i < members.size(); ++i)
            if (!IsBlank(*members[i])) values[i] = members[i]->SIValue();

        if (emptyCount == 1) {
            if (solved) {
                ClearComputedField(*solved);
                return;
            }
            TEditD& unknown = *members[lastEmpty];
            if (!unknown.MyResolved()) return;
            double x = FindRoot(values, lastEmpty, kStartValue, kStartDelta, residual);
            values[lastEmpty] = x;
            SettleSideEffects(values, residual);
            PutComputedValue(unknown, color, x, kWriteTolerance);
            return;
        }
        if (!solved) return;
        double x = FindRoot(values, solvedAt, values[solvedAt], kStartDelta, residual);
        values[solvedAt] = x;
        SettleSideEffects(values, residual);
        PutComputedValue(*solved, color, x, kWriteTolerance);
    } catch (const Error&) {
        ui.message("警告", "发现错误，可能是输入数据错误！", MessageKind::Warning);
        throw;
    }
}

} // namespace kolvane
