#pragma once

#include <array>
#include <cstddef>
#include <functional>

namespace kolvane {

constexpr std::size_t kMaxRelationMembers = 201;
using ValueArray = std::array<double, kMaxRelationMembers>;
// Zero when the relation holds; entry i is the SI value of member i.
using Residual = std::function<double(const ValueArray&)>;

// Secant iterations stop with IterationLimitError after this many steps.
constexpr int kFindRootMaxIterations = 10000;
constexpr double kRootStartValue = 1.2345;
constexpr double kRootStartDelta = 0.0001;

// Secant iteration with a relative perturbation on entry `index`, the others
// held fixed; works on a copy of `values`.
double FindRoot(const ValueArray& values, std::size_t index, double start, double delta,
                const Residual& residual);

} // namespace kolvane
