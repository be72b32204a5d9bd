#pragma once

#include "model/HeatTransferCorrelations.h"

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
    // Shape of the bundle or coil: pitch in outside diameters and coil
    // diameter (U-tube: the leg length), when both are given.
    bool hasShape = false;
    double s = 0, sl = 0;

    // Stirrer: vessel and blade diameter, speed (r/s), coefficients of the
    // coil-side and vessel-wall correlations.
    double ds = 0, dm = 0, n = 0, a1 = 0, a2 = 0;

    // Heat loss through wall and insulation, when the whole group is given.
    bool hasLoss = false;
    double ae = 0, wallThickness = 0, insulationThickness = 0, te = 0, lamS = 0, lamP = 0;

    // Relative tolerance of the area iteration.
    double tolerance = 1e-6;

    // Multipliers on what the correlations give, for studies of their
    // accuracy (1: the correlation as published). outsideFactor scales the
    // contents' Nusselt number at a given temperature difference, on the
    // tubes and on the vessel wall alike (one correlation family);
    // insideFactor the medium's film; surfaceFactor the outer surface's film
    // to air.
    double outsideFactor = 1, insideFactor = 1, surfaceFactor = 1;
};

// Flow regime of a single-phase medium inside the tubes.
enum class InsideRegime { Laminar, Transition, Turbulent };

// Which film a correlation note concerns.
enum class NoteSide { Inside, Outside, Surface };

// A correlation used outside its stated range (`validity`, `value` the
// group's value), or, with `validity` null, a laminar film taken as fully
// developed because the length of a pass is unknown.
struct CorrelationNote {
    NoteSide side = NoteSide::Inside;
    const Validity* validity = nullptr;
    double value = 0;
    double re = 0; // the Reynolds number of the film, for the message
};

// The inside film of a single-phase medium, with how it was found.
struct InsideFilm {
    double h = 0;
    double re = 0, pr = 0;
    InsideRegime regime = InsideRegime::Turbulent;
    const char* correlation = "";
    const Accuracy* accuracy = nullptr;
    bool hasNote = false;
    CorrelationNote note;
};

// The resistances in series of 1/K, m²·K/W, referred to the outer tube
// surface: the contents' film, the medium's film (× do/di), the fouling of
// both sides (the inside one × do/di) and the tube wall.
struct Resistances {
    double outsideFilm = 0, insideFilm = 0, fouling = 0, wall = 0;
    double total() const { return outsideFilm + insideFilm + fouling + wall; }
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
    // Correlations used outside their ranges, at most one per film.
    static constexpr int kMaxNotes = 3;
    CorrelationNote notes[kMaxNotes];
    int noteCount = 0;
    // The parts of 1/K at the area found, and the correlations that gave
    // each film (surface: only with a loss to air).
    Resistances resistances;
    const Accuracy* outsideAccuracy = nullptr;
    const Accuracy* insideAccuracy = nullptr;
    const Accuracy* surfaceAccuracy = nullptr;
};

// The film, wall and loss coefficients of one case as functions of the area
// and of the heat flux through it. The sizing and the batch check both ask
// it, so that they use the same correlations.
class FilmModel {
public:
    explicit FilmModel(const HeatModelInputs& in);

    // Outside film ko, the film hw on the vessel wall, ∂ko/∂q and the
    // Rayleigh number of natural convection at the outside heat flux q
    // (magnitude, W/m²). Stirred: constants.
    struct Outside {
        double ko = 0, hw = 0, dKoDq = 0, ra = 0;
    };
    Outside outside(double q) const;
    bool naturalConvection() const { return !in_.stirred; }
    // Inside film at the area (condensing steam: on its condensate loading).
    double inside(double area) const;
    // Overall coefficient referred to the outer tube surface.
    double overall(double ko, double ki) const {
        return 1 / (1 / ko + in_.ro + wall_ + (1 / ki + in_.ri) * ratio_);
    }
    // The parts of 1/K for the films ko and ki.
    Resistances resistances(double ko, double ki) const {
        return {1 / ko, ratio_ / ki, in_.ro + in_.ri * ratio_, wall_};
    }
    // The correlations that give the contents' and the medium's films.
    const Accuracy& outsideAccuracy() const {
        return in_.stirred ? kStirredVesselAccuracy : kMikheevAccuracy;
    }
    const Accuracy& insideAccuracy() const {
        return in_.condensing ? kCondensationAccuracy : *inside_.accuracy;
    }
    // Loss coefficient (vessel wall, insulation, outer film) for contents
    // standing θ above the ambient; the surface's excess into *excess.
    double loss(double theta, double hw, double* excess = nullptr) const;
    const InsideFilm& insideFilm() const { return inside_; }
    const HeatModelInputs& inputs() const { return in_; }

private:
    HeatModelInputs in_;
    double a_ = 0; // Grashof-Prandtl product per kelvin (unstirred)
    double koStirred_ = 0, hwStirred_ = 0;
    double wall_ = 0, ratio_ = 0;
    double condensing_ = 0; // ki = condensing_·A^(1/3)
    InsideFilm inside_;
};

// The inside film of a single-phase medium in every flow regime:
//   U-tube: Re ≤ 2300 Hausen over one pass (fully developed 3.66 when the
//   pass is unknown), 2300 < Re < 10⁴ Gnielinski,
//   Re ≥ 10⁴ Dittus–Boelter (μ < 0.003 Pa·s) or Sieder–Tate, the bends'
//   correction on both;
//   coil: below Schmidt's critical Re his laminar helix correlation, above
//   it the turbulent correlations with the coil correction.
InsideFilm SinglePhaseInsideFilm(const HeatModelInputs& in);

// Length of one pass of a U-tube bundle: a leg and half a bend.
double UTubePassLength(double sl, double s, double dO);

// The area that heats the contents from t1 to t2 within tau while the vessel
// loses heat, found by fixed-point iteration from 10 m2 because the film
// coefficients depend on it. Raises MathError when no sound area exists (the
// medium cannot reach the target, a zero flux) and IterationLimitError when
// an iteration does not settle.
HeatModelResult TheoreticalArea(const HeatModelInputs& in);

constexpr int kMaxAreaSteps = 1000;

} // namespace kolvane
