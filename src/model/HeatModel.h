#pragma once

namespace kolvane {

// Inputs of the theoretical-area model, SI units (temperatures in C).
struct HeatModelInputs {
    // Variant.
    bool condensing = false;       // medium condenses in the tubes
    bool stirred = false;          // the contents are stirred
    bool coil = false;             // helical coil (else U-tube bundle)
    bool lossToGround = false;     // loss to the ground (else to air)
    bool contentsTakeHeat = false; // the contents are heated
    bool mediumTakesHeat = false;  // the medium is heated (a cooling duty)

    // Contents.
    double rhoO = 0, muO = 0, cO = 0, lamO = 0;
    double beta = 0; // expansion coefficient, unstirred only
    double m = 0, t1 = 0, t2 = 0, tau = 0;
    // Heat given by the medium over the heating time, from the balance; sets
    // the heat flux of natural convection (unstirred only).
    double qi = 0;

    // Medium and tubes.
    double w = 0, ci = 0, r = 0, ti1 = 0, ti2 = 0;
    double rhoI = 0, lamI = 0, muI = 0;
    double x = 0; // non-condensable content, percent
    double dO = 0, dI = 0, ro = 0, ri = 0, lamW = 0;
    // Shape correction of the inside film: pitch in outside diameters and
    // coil diameter (U-tube: the leg length), when both are given.
    bool hasShape = false;
    double s = 0, sl = 0;

    // Stirrer: vessel and blade diameter, speed (r/s), coefficients of the
    // coil-side and vessel-wall correlations.
    double ds = 0, dm = 0, n = 0, a1 = 0, a2 = 0;

    // Heat loss through wall and insulation, when the whole group is given.
    bool hasLoss = false;
    double ae = 0, wallThickness = 0, insulationThickness = 0, te = 0, lamS = 0, lamP = 0;
};

struct HeatModelResult {
    double area = 0; // theoretical area, m2
    double ko = 0;   // outside film coefficient
    double ki = 0;   // inside film coefficient
    double k = 0;    // overall coefficient, outer tube surface
    // Heat loss (only with the loss group).
    double ke = 0, kc = 0, wc = 0, ql = 0;
    bool hasSurface = false; // loss to air: outer surface temperature
    double twa = 0;
};

// The area that heats the contents from t1 to t2 within tau while the vessel
// loses heat, found by fixed-point iteration from 10 m2 because the film
// coefficients depend on it. Raises MathError when no sound area exists (the
// medium cannot reach the target, a zero flux) and IterationLimitError when
// an iteration does not settle.
HeatModelResult TheoreticalArea(const HeatModelInputs& in);

constexpr int kMaxAreaSteps = 1000;
constexpr int kMaxConvectionSteps = 1000;

} // namespace kolvane
