#include "engine/Study.h"

#include "engine/CalcRules.h"

#include <cmath>
#include <limits>

namespace kolvane {

std::vector<double> AxisValues(const SweepAxis& axis) {
    const int n = axis.points;
    std::vector<double> values;
    if (n < 1) return values;
    values.reserve(static_cast<std::size_t>(n));
    if (n == 1) {
        values.push_back(axis.from);
        return values;
    }
    const double a = axis.log ? std::log(axis.from) : axis.from;
    const double b = axis.log ? std::log(axis.to) : axis.to;
    for (int i = 0; i < n; ++i) {
        const double t = a + (b - a) * i / (n - 1);
        values.push_back(axis.log ? std::exp(t) : t);
    }
    // The ends as given, not as the arithmetic rounds them.
    values.front() = axis.from;
    values.back() = axis.to;
    return values;
}

std::string SweepAxisProblem(const Case& base, const SweepAxis& axis) {
    const std::string caption = CaptionOf(axis.id, base.options);
    const Quantity& q = base[axis.id];
    if (!q.enabled) return caption + "在当前选项下不使用，不能作为研究变量";
    if (IsPassResult(axis.id)) return caption + "是计算结果，不能作为研究变量";
    if (q.state == QState::Solved)
        return caption +
               "是由热量平衡求出的，不能作为研究变量：请在计算页上给出它并空出要求解的一项";
    if (!std::isfinite(axis.from) || !std::isfinite(axis.to)) return caption + "的范围应为有限数值";
    if (axis.points < 1 || axis.points > kMaxAxisPoints)
        return caption + "的点数应在1与" + std::to_string(kMaxAxisPoints) + "之间";
    if (axis.log && !(axis.from > 0 && axis.to > 0))
        return caption + "按对数分点时，范围的两端应大于0";
    return {};
}

std::optional<StudyOutput> StudyOutputNamed(std::string_view name) {
    if (name == "areaNeeded") return StudyOutput{StudyOutput::Kind::AreaNeeded};
    if (name == "ratio") return StudyOutput{StudyOutput::Kind::CheckRatio};
    const FieldRow* row = FindField(name);
    if (!row) return std::nullopt;
    return StudyOutput{StudyOutput::Kind::Field,
                       static_cast<fid::FieldId>(row - FieldTable().data())};
}

std::string StudyOutputName(const StudyOutput& output) {
    switch (output.kind) {
    case StudyOutput::Kind::AreaNeeded:
        return "areaNeeded";
    case StudyOutput::Kind::CheckRatio:
        return "ratio";
    case StudyOutput::Kind::Field:
        break;
    }
    return FieldTable()[static_cast<std::size_t>(output.id)].name;
}

void GiveDisplayValue(Case& c, fid::FieldId id, double value) {
    c.give(id, value * c[id].exchange);
}

double StudyOutputValue(const Case& base, const Evaluation& e, const StudyOutput& output) {
    constexpr double none = std::numeric_limits<double>::quiet_NaN();
    const PassReport& r = e.report;
    switch (output.kind) {
    case StudyOutput::Kind::AreaNeeded:
        return r.hasCheck && r.check.areaNeeded ? *r.check.areaNeeded : none;
    case StudyOutput::Kind::CheckRatio:
        return r.checkRatio().value_or(none);
    case StudyOutput::Kind::Field:
        break;
    }
    return e.results.has(output.id) ? e.results[output.id] / base[output.id].exchange : none;
}

std::vector<SweepPoint> RunSweep(const Case& base, std::span<const SweepAxis> axes,
                                 std::span<const StudyOutput> outputs,
                                 const StudyControl& control) {
    std::vector<std::vector<double>> values;
    std::size_t total = axes.empty() ? 0 : 1;
    for (const SweepAxis& a : axes) {
        values.push_back(AxisValues(a));
        total *= values.back().size();
    }
    bool withCheck = false;
    for (const StudyOutput& o : outputs)
        withCheck = withCheck || o.kind != StudyOutput::Kind::Field;

    std::vector<SweepPoint> points;
    points.reserve(total);
    Case c = base;
    std::vector<std::size_t> at(axes.size(), 0); // the point's position on each axis
    for (std::size_t k = 0; k < total && !control.cancelled(); ++k) {
        SweepPoint p;
        for (std::size_t i = 0; i < axes.size(); ++i) {
            p.inputs.push_back(values[i][at[i]]);
            GiveDisplayValue(c, axes[i].id, p.inputs.back());
        }
        const Evaluation e = Evaluate(c, withCheck);
        for (const StudyOutput& o : outputs)
            p.results.push_back(StudyOutputValue(base, e, o));
        for (const auto& problem : e.report.problems)
            p.message += (p.message.empty() ? "" : "；") + problem.text;
        points.push_back(std::move(p));
        // The last axis runs fastest.
        for (std::size_t i = axes.size(); i-- > 0;) {
            if (++at[i] < values[i].size()) break;
            at[i] = 0;
        }
        if (control.progress) control.progress(k + 1, total);
    }
    return points;
}

} // namespace kolvane
