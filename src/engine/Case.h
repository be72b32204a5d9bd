#pragma once

#include "engine/MainFormTables.h"
#include "engine/PassReport.h"

#include <array>
#include <optional>
#include <string>

namespace kolvane {

// One calculation without a window: every quantity by its id, as an SI
// value with what it is, and the options as typed values. The window reads
// its fields into a case, evaluates it and shows the results; studies build
// and vary cases directly.

// What a quantity holds.
enum class QState : unsigned char {
    Empty,    // nothing given
    Input,    // a number the user gave
    Computed, // a number computed from the other quantities
    Solved,   // the member the heat balance was solved for
    Refused,  // given, but no number (its text kept) or not physical
};

struct Quantity {
    double value = 0; // SI; meaningful for Input, Computed and Solved
    QState state = QState::Empty;
    // Offered for the chosen options (a greyed field is not read).
    bool enabled = true;
    // The heat balance may be solved for it.
    bool resolvable = true;
    // For messages only: the text that is no number (Refused), the display
    // unit's factor to SI and its position in the field's unit list
    // (UnitLabelOf; -1: the SI unit).
    std::string text;
    double exchange = 1;
    int unit = -1;
};

enum class Phase : unsigned char { SinglePhase, Condensing };
enum class TubeForm : unsigned char { UTube, Coil };
enum class LossTo : unsigned char { Air, Ground };

// The choices of the calculation; materials and the stirrer by their
// position in the tables (WallMaterials, TubeMaterials, InsulationMaterials,
// Stirrers), whose rows give their data.
struct CaseOptions {
    Phase phase = Phase::SinglePhase;
    TubeForm tube = TubeForm::UTube;
    bool stirred = false;
    LossTo loss = LossTo::Air;
    int vessel = 0; // the vessel page's shape: sphere, cylinder, cube, dome roof
    int tubeMaterial = 0;
    int vesselMaterial = 0;
    int insulation = 0;
    int stirrer = 0;

    bool operator==(const CaseOptions&) const = default;
};

// Multipliers on the films the correlations give (1: as published), for
// studies of their accuracy; a window's case never changes them. See
// HeatModelInputs::outsideFactor.
struct FilmFactors {
    double outside = 1, inside = 1, surface = 1;
};

struct Case {
    std::array<Quantity, fid::kCount> q{};
    CaseOptions options;
    FilmFactors factors;

    Quantity& operator[](fid::FieldId id) { return q[static_cast<std::size_t>(id)]; }
    const Quantity& operator[](fid::FieldId id) const { return q[static_cast<std::size_t>(id)]; }
    // An input, as a user types it.
    void give(fid::FieldId id, double si) {
        (*this)[id].value = si;
        (*this)[id].state = QState::Input;
    }
};

// What the evaluation makes of each quantity, and how a view that shows the
// case should change to show it.
enum class Show : unsigned char {
    Keep,         // as it is
    Computed,     // the value in the computed look (when it moved by `tolerance`)
    FromPressure, // the same, and the computed look even when it did not move
    Solved,       // the value as the balance's solved member
    Clear,        // emptied, an input field again
};

struct Results {
    std::array<double, fid::kCount> value{};
    std::array<QState, fid::kCount> state{};
    std::array<Show, fid::kCount> show{};
    // Relative tolerance below which a shown value is not rewritten.
    std::array<double, fid::kCount> tolerance{};
    // The convergence tolerance the evaluation used.
    double passTolerance = 0;
    // How often the chain was walked until the area and the heat loss
    // settled.
    int walks = 0;
    // Whether the tube's medium takes heat from the contents; unknown
    // without both contents temperatures.
    std::optional<bool> mediumTakesHeat;

    bool has(fid::FieldId id) const {
        const QState s = state[static_cast<std::size_t>(id)];
        return s == QState::Input || s == QState::Computed || s == QState::Solved;
    }
    double operator[](fid::FieldId id) const { return value[static_cast<std::size_t>(id)]; }
};

struct Evaluation {
    Results results;
    PassReport report;
};

// The whole calculation of a case: the heat balance and its solved member,
// every result, the warnings, the missing inputs and the dynamic check.
// Pure: the same case gives the same evaluation.
// Without `withCheck` the dynamic check is left out (a sweep that only
// needs the sizing).
Evaluation Evaluate(const Case& c, bool withCheck = true);
// The theoretical area alone (m2), or -1 when it cannot be computed; no
// warnings, hints or check.
double TheoreticalAreaOf(const Case& c);

// The label of a field's display unit, by its position in the field's unit
// list; a coil's count is in turns. nullptr off the list.
const char* UnitLabelOf(fid::FieldId id, int position, const CaseOptions& options);

// A quantity's caption for the chosen options, with the side named where
// two fields share one ("平均比热（管程）").
std::string CaptionOf(fid::FieldId id, const CaseOptions& options);

} // namespace kolvane
