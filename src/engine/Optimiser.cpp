#include "engine/Optimiser.h"

#include "model/VesselGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace kolvane {

namespace {

using namespace fid;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A value of the case the vessel page gives, or NaN.
double Given(const Case& c, FieldId id) {
    const Quantity& q = c[id];
    const bool has = q.enabled && (q.state == QState::Input || q.state == QState::Computed ||
                                   q.state == QState::Solved);
    return has ? q.value : kNaN;
}

} // namespace

double LiquidHeight(const Case& c) {
    const double kv = Given(c, KvD), d = Given(c, DsD), h = Given(c, HsD);
    if (!(kv > 0 && kv <= 1)) return kNaN;
    double alpha = 0;
    switch (c.options.vessel) {
    case 0: // sphere
        return d > 0 ? SphereCapDepth(d / 2, kv) : kNaN;
    case 1: // upright cylinder
    case 2: // box
        return h > 0 ? kv * h : kNaN;
    case 3: // horizontal cylinder
        return d > 0 ? HorizontalTankDepth(d, kv, alpha) : kNaN;
    default:
        return kNaN;
    }
}

DesignSearch SearchDesigns(const Case& base, std::span<const DesignPipe> pipes,
                           std::span<const double> pitches, const DesignLimits& limits,
                           DesignRank rank, std::size_t keep, const StudyControl& control) {
    DesignSearch out;
    const bool coil = base.options.tube == TubeForm::Coil;
    const bool condensing = base.options.phase == Phase::Condensing;
    const int shape = base.options.vessel;
    const double d = Given(base, DsD), h = Given(base, HsD), w = Given(base, WsD);
    const double c2 = 2 * limits.clearance;
    // The room a layout has. A coil stands in the vessel's diameter (a box's
    // smaller side) under the liquid; a U-tube bundle lies along the
    // vessel's longest inside dimension.
    double room = kNaN;
    if (coil) {
        room = (shape == 2 ? std::min(d, w) : d) - c2;
        out.heightMax = LiquidHeight(base) - limits.clearance;
        if (!(out.heightMax > 0)) {
            out.problem =
                "容器页未给出液位高度（容器体积、直径、高度与充装系数），无法确定盘管可用空间";
            return out;
        }
    } else {
        switch (shape) {
        case 0: // sphere: across it
            room = d - c2;
            break;
        case 1: // upright cylinder: standing in the liquid
            room = LiquidHeight(base) - limits.clearance;
            break;
        case 2: // box: along its longer side
            room = std::max(d, w) - c2;
            break;
        default: // horizontal cylinder: along its length
            room = h - c2;
            break;
        }
    }
    if (!(room > 0)) {
        out.problem = std::string("容器页未给出容器尺寸，或容器尺寸不大于两侧间隙之和，无法确定") +
                      (coil ? "盘管直径" : "U型管直段长度") + "的范围";
        return out;
    }
    out.sizeMax = room;
    const SweepAxis sizes{SlD, (coil ? 0.5 : 0.3) * room, room, std::max(limits.sizes, 1)};
    const std::vector<double> sizeValues = AxisValues(sizes);
    const double density = TubeMaterials()[static_cast<std::size_t>(std::clamp(
                                               base.options.tubeMaterial, 0,
                                               static_cast<int>(TubeMaterials().size()) - 1))]
                               .density;

    std::vector<Design> found;
    Case c = base;
    const std::size_t total = pipes.size() * pitches.size() * sizeValues.size();
    for (const DesignPipe& pipe : pipes) {
        if (!(pipe.inside > 0 && pipe.inside < pipe.outside)) continue;
        c.give(dioD, pipe.outside);
        c.give(diiD, pipe.inside);
        for (double pitch : pitches) {
            c.give(DspD, pitch);
            for (double size : sizeValues) {
                if (control.cancelled()) break;
                ++out.tried;
                if (control.progress) control.progress(out.tried, total);
                c.give(SlD, size);
                const Evaluation e = Evaluate(c, true);
                const Results& r = e.results;
                const PassReport& rep = e.report;
                if (!rep.problems.empty() || !r.has(ArD) || !r.has(LtD) || !r.has(mD) ||
                    !r.has(DpiD) || !rep.hasCheck || !rep.check.areaNeeded)
                    continue;
                Design x{pipe.row, pipe.outside, pipe.inside, pitch, size, r[ArD], r[LtD], r[mD]};
                x.velocity = condensing ? r[UivD] : r[UiD];
                x.dp = r[DpiD];
                x.margin = x.area / *rep.check.areaNeeded - 1;
                x.mass = x.length * std::numbers::pi / 4 *
                         (pipe.outside * pipe.outside - pipe.inside * pipe.inside) * density;
                const bool velocityOk = condensing ? x.velocity <= limits.steamVelocityMax
                                                   : x.velocity >= limits.velocityMin &&
                                                         x.velocity <= limits.velocityMax;
                // A coil's height: its turns at the pitch, under the liquid.
                const bool fits = !coil || x.turnsOrPasses * pitch * pipe.outside <= out.heightMax;
                if (x.margin >= 0 && velocityOk && x.dp <= limits.maxPressureDrop && fits)
                    found.push_back(x);
            }
        }
    }
    out.feasible = found.size();
    auto key = [rank](const Design& x) {
        return rank == DesignRank::Area ? x.area : rank == DesignRank::Mass ? x.mass : x.length;
    };
    auto better = [&](const Design& a, const Design& b) {
        if (key(a) != key(b)) return key(a) < key(b);
        if (a.length != b.length) return a.length < b.length;
        return a.dp < b.dp;
    };
    // One design per pipe, the best of its pitches and sizes: otherwise the
    // pitches and sizes of the same pipe, all but equal, fill the list and
    // hide the other pipes an engineer would compare.
    std::sort(found.begin(), found.end(), [&](const Design& a, const Design& b) {
        return a.pipeRow != b.pipeRow ? a.pipeRow < b.pipeRow : better(a, b);
    });
    found.erase(
        std::unique(found.begin(), found.end(),
                    [](const Design& a, const Design& b) { return a.pipeRow == b.pipeRow; }),
        found.end());
    const std::size_t n = std::min(keep, found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(n), found.end(),
                      better);
    found.resize(n);
    out.designs = std::move(found);
    return out;
}

std::array<std::string, kDesignColumns> DesignHeadings(const Case& base) {
    const bool coil = base.options.tube == TubeForm::Coil;
    const bool steam = base.options.phase == Phase::Condensing;
    return {coil ? "盘管直径 m" : "直段长度 m",
            "螺距 倍外径",
            "实际面积 m2",
            "总管长 m",
            coil ? "圈数" : "管程数",
            steam ? "蒸汽流速 m/s" : "流速 m/s",
            "压力降 Pa",
            "余量 %",
            "管重 kg"};
}

std::array<double, kDesignColumns> DesignValues(const Design& d) {
    return {d.size,     d.pitch, d.area,         d.length, d.turnsOrPasses,
            d.velocity, d.dp,    100 * d.margin, d.mass};
}

} // namespace kolvane
