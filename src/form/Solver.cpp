#include "form/Solver.h"

#include "form/EditD.h"
#include "form/UiServices.h"
#include "model/Errors.h"

#include <cmath>
#include <stdexcept>

namespace kolvane {

namespace {
constexpr double kWriteTolerance = 2e-6;

// The secant's last evaluation is at a perturbed point; evaluating once more
// at the root makes what the residual writes (the heat quantities of the
// balance) belong to the solution that is shown.
void SettleSideEffects(const ValueArray& values, const Residual& residual) {
    RequireFinite(residual(values), "计算出现无效数值，可能是输入数据错误");
}

} // namespace

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
            double x = FindRoot(values, lastEmpty, kRootStartValue, kRootStartDelta, residual);
            values[lastEmpty] = x;
            SettleSideEffects(values, residual);
            PutComputedValue(unknown, color, x, kWriteTolerance);
            return;
        }
        if (!solved) return;
        double x = FindRoot(values, solvedAt, values[solvedAt], kRootStartDelta, residual);
        values[solvedAt] = x;
        SettleSideEffects(values, residual);
        PutComputedValue(*solved, color, x, kWriteTolerance);
    } catch (const Error&) {
        ui.message("警告", "发现错误，可能是输入数据错误！", MessageKind::Warning);
        throw;
    }
}

} // namespace kolvane
