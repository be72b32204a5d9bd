#pragma once

#include "form/Colors.h"

#include "model/RootFinding.h"

#include <cstddef>
#include <span>

namespace kolvane {

class TEditD;
class UiServices;

// Takes a relation over quantity fields and, when exactly one member is
// empty, solves for it and writes it in the relation's colour. The colour
// marks the solved member, so later visits re-solve it when all members are
// filled, or clear it when another member became empty. Any error is shown as
// a warning through `ui` and passed on.
void SolveForUnknown(std::span<TEditD* const> members, Color color, const Residual& residual,
                     UiServices& ui);

} // namespace kolvane
