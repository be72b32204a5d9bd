#pragma once

#include "engine/Case.h"

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// Design studies: many cases evaluated from one, in memory. A study never
// changes the case it starts from; every point starts from it afresh, so a
// point's numbers do not depend on the points before it.

// Progress and cancelling of a long study, for a caller on another thread.
struct StudyControl {
    // Set by the caller to stop; the points not yet evaluated are left out.
    const std::atomic<bool>* cancel = nullptr;
    // Told after each point: how many are done, of how many.
    std::function<void(std::size_t done, std::size_t total)> progress;

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
};

// One input varied over a range, in the field's display unit as the window
// shows it.
struct SweepAxis {
    fid::FieldId id = fid::TaoD;
    double from = 0, to = 0;
    int points = 2;
    bool log = false; // evenly spaced logarithms instead of values
};

// The most points one axis may have.
constexpr int kMaxAxisPoints = 10000;

// The values of an axis, from `from` to `to` (both included).
std::vector<double> AxisValues(const SweepAxis& axis);

// Why the axis cannot be swept on the case ("" when it can): a field not
// offered for the options, a result, the balance's solved member, a range
// that is no range.
std::string SweepAxisProblem(const Case& base, const SweepAxis& axis);

// What a study tabulates: a quantity, or a figure of the dynamic check.
struct StudyOutput {
    enum class Kind { Field, AreaNeeded, CheckRatio } kind = Kind::Field;
    fid::FieldId id = fid::AtD; // for Field
};
// An output by its name: a field's name ("AtD"), "areaNeeded" (the area the
// dynamic check needs, m2) or "ratio" (that area over the theoretical one).
std::optional<StudyOutput> StudyOutputNamed(std::string_view name);
std::string StudyOutputName(const StudyOutput& output);

// One point of a sweep: the axes' values and the outputs in display units
// (NaN where the point gives none), and what went wrong, if anything.
struct SweepPoint {
    std::vector<double> inputs;
    std::vector<double> results;
    std::string message;
};

// The case with `value` (display unit) typed into the field.
void GiveDisplayValue(Case& c, fid::FieldId id, double value);

// An output of an evaluated case in its display unit, or NaN.
double StudyOutputValue(const Case& base, const Evaluation& e, const StudyOutput& output);

// Every combination of the axes' values (the first axis outermost), each
// evaluated from `base`; the dynamic check only where an output needs it.
// Axes must have passed SweepAxisProblem.
std::vector<SweepPoint> RunSweep(const Case& base, std::span<const SweepAxis> axes,
                                 std::span<const StudyOutput> outputs,
                                 const StudyControl& control = {});

// A column's heading for a person: the caption and the display unit
// ("理论面积 m2"), "所需面积 m2" and "面积比" for the check's figures.
std::string StudyHeading(const Case& c, const StudyOutput& output);

// The headings of a sweep's columns on `c`: the axes', then the outputs'.
std::vector<std::string> SweepHeadings(const Case& c, std::span<const SweepAxis> axes,
                                       std::span<const StudyOutput> outputs);

// The sweep as CSV: a header of the columns' names (the axes', the
// outputs', "message"), then a row per point, each number the shortest text
// that reads back as the same double, empty where there is none.
std::string SweepCsv(std::span<const std::string> inputNames,
                     std::span<const std::string> outputNames, std::span<const SweepPoint> points);

// Whether two cases give the same calculation: the same options and the
// same inputs (what the user gave, with its values, and the fields
// offered); what a pass computed does not count. A study made from one case
// stays valid for the other.
bool SameInputs(const Case& a, const Case& b);

} // namespace kolvane
