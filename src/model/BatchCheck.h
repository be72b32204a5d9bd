#pragma once

#include "model/HeatModel.h"

#include <optional>
#include <span>

namespace kolvane {

// A second, independent opinion on a sizing: the batch integrated in time
// with what the sizing holds constant left free.
//   M·co·dT/dt = Q(T) − Ke(T)·Ae·(T − Te)
// A single-phase medium enters at Ti1 with the flow W and leaves at what
// the exchanger gives, Q = W·ci·(Ti1 − T)·(1 − exp(−K·A/(W·ci))) (Kern,
// Process Heat Transfer, 1950, ch. 18, non-isothermal medium); condensing
// steam stands at its inlet temperature, Q = K·A·(Ti1 − T). K follows the
// contents' temperature through the same film correlations as the sizing
// (natural convection at the current flux), the loss coefficient through
// the surface's own temperature. The equation is autonomous, so the time
// to a temperature is ∫M·co/F(T)dT, taken by adaptive Gauss–Kronrod
// quadrature to 1e-10 of itself.
struct BatchCheck {
    std::optional<double> areaNeeded;   // m², reaches the target at τ exactly
    std::optional<double> tActual;      // s, to the target with the actual area
    std::optional<double> tTheoretical; // s, with the theoretical area
    // Why the area the check needs is missing, when it is.
    const char* note = nullptr;
};

// Raises MathError (IterationLimitError at the panel limit) when the batch
// cannot be integrated.
BatchCheck CheckBatch(const HeatModelInputs& in, double theoreticalArea,
                      std::optional<double> actualArea);

// The time the contents take from t1 to `target` with `area`; nothing when
// they never get there.
std::optional<double> CheckedTimeTo(const HeatModelInputs& in, double area, double target);

// The contents' temperature by the check with `area` at each of `times`
// (ascending, s), into `out` (same size), marched by the classic fourth-order
// Runge–Kutta method at no more than 1/2000 of the last time per step.
void CheckedTemperatures(const HeatModelInputs& in, double area, std::span<const double> times,
                         std::span<double> out);

// Panels of the adaptive quadrature before it gives up.
constexpr int kMaxCheckPanels = 64;

} // namespace kolvane
