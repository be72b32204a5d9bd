#pragma once

#include "engine/Colors.h"

#include <array>
#include <cstddef>
#include <functional>
#include <span>

namespace kolvane {

class TEditD;
class UiServices;

constexpr std::size_t kMaxRelationMembers = 201;
using ValueArray = std::array<double, kMaxRelationMembers>;
// Zero when the relation holds; entry i is the SI value of member i.
using Residual = std::function<double(const ValueArray&)>;

// Secant iterations stop with IterationLimitError after this many steps.
constexpr int kFindRootMaxIterations = 10000;

// Takes a relation over quantity fields and, when exactly one member is
// empty, solves for it and writes it in the relation's colour. The colour
// marks the solved member, so later visits re-solve it when all members are
// filled, or clear it when another member became empty. Any error is shown as
// a warning through `ui` and passed on.
void SolveForUnknown(std::span<TEditD* const> members, Color color, const Residual& residual,
                     UiServices& ui);

// Secant iteration with a relative perturbation on entry `index`, the others
// held fixed; works on a copy of `values`.
double FindRoot(const ValueArray& values, std::size_t index, double start, double delta,
                const Residual& residual);

} // namespace kolvane
