#include "engine/Study.h"

#include "engine/CalcRules.h"

#include <charconv>
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

std::string StudyHeading(const Case& c, const StudyOutput& output) {
    switch (output.kind) {
    case StudyOutput::Kind::AreaNeeded:
        return "所需面积 m2";
    case StudyOutput::Kind::CheckRatio:
        return "面积比";
    case StudyOutput::Kind::Field:
        break;
    }
    const Quantity& q = c[output.id];
    const char* unit = q.unit >= 0 ? UnitLabelOf(output.id, q.unit, c.options) : nullptr;
    return CaptionOf(output.id, c.options) + (unit ? std::string(" ") + unit : std::string());
}

std::vector<std::string> SweepHeadings(const Case& c, std::span<const SweepAxis> axes,
                                       std::span<const StudyOutput> outputs) {
    std::vector<std::string> headings;
    for (const SweepAxis& a : axes)
        headings.push_back(StudyHeading(c, {StudyOutput::Kind::Field, a.id}));
    for (const StudyOutput& o : outputs)
        headings.push_back(StudyHeading(c, o));
    return headings;
}

namespace {

std::string CsvNumber(double v) {
    if (!std::isfinite(v)) return {};
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::string CsvCell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

std::string SweepCsv(std::span<const std::string> inputNames,
                     std::span<const std::string> outputNames, std::span<const SweepPoint> points) {
    std::string csv;
    for (const auto& n : inputNames)
        csv += CsvCell(n) + ",";
    for (const auto& n : outputNames)
        csv += CsvCell(n) + ",";
    csv += "message\n";
    for (const SweepPoint& p : points) {
        for (double v : p.inputs)
            csv += CsvNumber(v) + ",";
        for (double v : p.results)
            csv += CsvNumber(v) + ",";
        csv += CsvCell(p.message) + "\n";
    }
    return csv;
}

bool SameInputs(const Case& a, const Case& b) {
    if (a.options != b.options) return false;
    for (std::size_t i = 0; i < a.q.size(); ++i) {
        const Quantity &p = a.q[i], &q = b.q[i];
        // Computed and solved values are the calculation's, not its inputs.
        auto given = [](const Quantity& x) {
            return x.state == QState::Input || x.state == QState::Refused;
        };
        if (given(p) != given(q) || (given(p) && p.state != q.state) || p.enabled != q.enabled)
            return false;
        if (p.state == QState::Input && p.value != q.value) return false;
    }
    return true;
}

} // namespace kolvane
