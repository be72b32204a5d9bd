#pragma once

#include "engine/MainFormTables.h"

#include <array>
#include <span>
#include <string>
#include <vector>

namespace kolvane {

// What the recalculation pass knows about its quantities, as data: which
// result needs which inputs for the chosen variant, which values are
// physical, and which results deserve a second look. The pass, the
// missing-input hints, the clearing of stale results and the plausibility
// warnings all read these tables.

// The variant of the calculation, as bits; a table row applies when all of
// its bits are set in the current variant.
enum VariantBit : unsigned {
    kSinglePhase = 1u << 0,
    kCondensing = 1u << 1,
    kStirred = 1u << 2,
    kUnstirred = 1u << 3,
    kUTube = 1u << 4,
    kCoil = 1u << 5,
    kToAir = 1u << 6,
    kToGround = 1u << 7,
};
using Variant = unsigned;
Variant MakeVariant(bool condensing, bool stirred, bool coil, bool toGround);

// Nodes of the dependency table: the quantity fields, plus the heat-transfer
// model, whose outputs (film and loss coefficients, area) come together.
constexpr int kModelNode = fid::kCount;
constexpr int kNodeCount = fid::kCount + 1;

struct Dependency {
    int result;             // a field, or kModelNode
    Variant when;           // bits that must be set; 0 always
    std::vector<int> needs; // fields or kModelNode
};
const std::vector<Dependency>& Dependencies();

// The results the pass writes (besides the solved member of the balance).
std::span<const fid::FieldId> PassResults();
bool IsPassResult(int id);
// Results whose absence the status bar explains.
std::span<const fid::FieldId> HeadlineResults();

// Members of the heat balance, in the solver's order.
std::span<const fid::FieldId> BalanceMembers(bool condensing);
// The heat-loss group: the loss is left out unless all of it is given.
std::span<const fid::FieldId> LossGroup();

// The dependency table resolved for one variant: for each node, whether a
// row gives it a rule and all its needs, in table order. Worked out once for
// every variant; the pass asks it many times per walk.
struct VariantNeeds {
    std::array<bool, kNodeCount> ruled{};
    std::array<std::vector<int>, kNodeCount> needs;
};
const VariantNeeds& NeedsIn(Variant variant);

// Calls f(need) for every need of `result` in `variant`.
template <typename F> void ForEachNeed(int result, Variant variant, F&& f) {
    for (int n : NeedsIn(variant).needs[static_cast<std::size_t>(result)])
        f(n);
}

// --- Admissible values ---

// The rule a value breaks, or nullptr when it is admissible. Values in SI.
const char* InputRuleViolation(fid::FieldId id, double value);

// --- Plausibility warnings ---

enum class WarningKind {
    Range,         // the field's value outside [lo, hi]
    OutletCross,   // the medium leaves on the wrong side of the contents' target
    LossShare,     // heat loss above a share (lo) of the duty
    ShortLayout,   // the total length is less than one pass or one turn
    NoMaintenance, // the surroundings, not the medium, decide the held temperature
    Correlation,   // a correlation of the field used outside its stated range
    CheckArea,     // the dynamic check needs more area than the sizing (lo: the share)
    CheckNote,     // the dynamic check found no area, or could not run
};
struct WarningRule {
    WarningKind kind;
    fid::FieldId field;
    Variant when;
    double lo, hi;
    const char* text; // the warning; %1 the value, %2 a limit
    const char* why;  // the engineering reason
};
std::span<const WarningRule> WarningRules();

// A field's caption as its label shows it now, with the side named when
// another field shares the caption ("平均比热（管程）").
std::string QualifiedCaption(fid::FieldId id, const std::string& caption);

} // namespace kolvane
