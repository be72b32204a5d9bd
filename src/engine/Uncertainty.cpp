// The uncertainty band on the area: the case sized again and checked with
// its films and chosen inputs scattered, over many samples on all cores.
#include "engine/Uncertainty.h"

#include "engine/CalcRules.h"
#include "model/BatchCheck.h"
#include "model/Errors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <mutex>
#include <numbers>
#include <thread>

namespace kolvane {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kTruncation = 3; // in standard deviations
constexpr int kChunk = 16;        // samples a thread takes at a time
constexpr int kProgressSteps = 100;

std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::string Number(double v, int digits = 4) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*g", digits, v);
    return buf;
}

std::string Band(double relative) {
    return "±" + Number(relative * 100, 3) + " %";
}

// What sizing a varied case gives: the area its check needs and the time to
// the target with the actual area (+∞: never reached).
struct Outcome {
    double area = kNaN, tActual = kNaN;
};

// A varied case sized and checked as the pass does, with `actual` the area
// as built; nothing when it cannot be sized or checked.
std::optional<Outcome> SizeAndCheck(const Case& c, std::optional<double> actual) {
    const Evaluation e = Evaluate(c, false);
    if (!e.report.hasCurve) return std::nullopt;
    try {
        const BatchCheck check = CheckBatch(e.report.checkInputs, e.report.theoreticalArea, actual);
        if (!check.areaNeeded) return std::nullopt;
        return Outcome{*check.areaNeeded, actual ? check.tActual.value_or(kInfinity) : kNaN};
    } catch (const Error&) {
        return std::nullopt;
    }
}

// The case as given: what stops it is told, naming the field where the
// pass does.
struct Nominal {
    Evaluation e;
    std::optional<double> actual;
    double areaNeeded = 0;
};
Nominal NominalOf(const Case& c) {
    Nominal n{Evaluate(c, false), std::nullopt, 0};
    const PassReport& report = n.e.report;
    if (!report.hasCurve) {
        const std::string why = report.statusText();
        throw Error("理论面积无法计算" + (why.empty() ? std::string() : "：" + why));
    }
    // The actual area is what was built: every sample is checked with it.
    if (report.hasActualArea) n.actual = report.actualArea;
    BatchCheck check;
    try {
        check = CheckBatch(report.checkInputs, report.theoreticalArea, n.actual);
    } catch (const Error& x) {
        throw Error(std::string("动态校核无法计算：") + x.what());
    }
    if (!check.areaNeeded)
        throw Error(std::string("动态校核无法给出所需面积：") +
                    (check.note ? check.note : "升温过程无法积分"));
    n.areaNeeded = *check.areaNeeded;
    return n;
}

// The factors the case has: the films by their correlations' accuracies,
// the surface film only where the vessel loses heat to air, and each typed
// quantity the user gave a scatter.
std::vector<UncertaintyFactor> FactorsOf(const Case& c, const HeatModelResult& m,
                                         const UncertaintyOptions& options) {
    std::vector<UncertaintyFactor> out;
    auto film = [&](FactorKind kind, const char* what, const Accuracy* a) {
        if (!a || !options.correlations) return;
        out.push_back({kind, fid::kCount,
                       std::string(what) + "（" + a->correlation + "，" + Band(a->relative) + "）",
                       a->relative});
    };
    film(FactorKind::OutsideFilm, "管外膜系数", m.outsideAccuracy);
    film(FactorKind::InsideFilm, "管内膜系数", m.insideAccuracy);
    film(FactorKind::SurfaceFilm, "保温外表面传热系数", m.surfaceAccuracy);
    for (const QuantityScatter& s : options.scatter) {
        const std::string caption = CaptionOf(s.id, c.options);
        if (!(s.percent >= 0 && s.percent <= kMaxScatterPercent))
            throw Error(caption + "：分散度应在0–50 %之间");
        if (std::string problem = ScatterProblem(c, s.id); !problem.empty()) throw Error(problem);
        if (s.percent == 0) continue;
        out.push_back(
            {FactorKind::Quantity, s.id, caption + " " + Band(s.percent / 100), s.percent / 100});
    }
    return out;
}

Case WithFactors(const Case& base, const std::vector<UncertaintyFactor>& factors,
                 const double* values) {
    Case c = base;
    for (std::size_t k = 0; k < factors.size(); ++k) {
        const double v = values[k];
        switch (factors[k].kind) {
        case FactorKind::OutsideFilm:
            c.factors.outside = v;
            break;
        case FactorKind::InsideFilm:
            c.factors.inside = v;
            break;
        case FactorKind::SurfaceFilm:
            c.factors.surface = v;
            break;
        case FactorKind::Quantity:
            c[factors[k].id].value *= v;
            break;
        }
    }
    return c;
}

std::string ControllingText(ResistancePart part, double share, const Case& c) {
    const bool condensing = c.options.phase == Phase::Condensing;
    const char* name = "";
    const char* advice = "";
    switch (part) {
    case ResistancePart::OutsideFilm:
        name = "管外膜热阻";
        advice = c.options.stirred ? "提高搅拌转速" : "加搅拌";
        break;
    case ResistancePart::InsideFilm:
        name = "管内膜热阻";
        // A condensing film thins with less gas in the steam, not with speed.
        advice = condensing ? "排除不凝气体" : "提高管内流速";
        break;
    case ResistancePart::Fouling:
        name = "污垢热阻";
        advice = "清洗或选用较小污垢热阻";
        break;
    case ResistancePart::Wall:
        name = "管壁热阻";
        advice = "选用导热系数较高的管材";
        break;
    }
    return std::string(name) + "占总热阻的" + std::to_string(std::lround(share * 100)) + " %：" +
           advice + "效果最明显";
}

std::optional<Percentiles> BandOf(std::vector<double> values) {
    std::erase_if(values, [](double v) { return std::isnan(v); });
    if (values.empty()) return std::nullopt;
    std::sort(values.begin(), values.end());
    return Percentiles{Percentile(values, 10), Percentile(values, 50), Percentile(values, 90)};
}

// Each factor alone at its bounds, the largest swing of the area first.
std::vector<TornadoBar> TornadoOf(const Case& c, const std::vector<UncertaintyFactor>& factors,
                                  std::optional<double> actual) {
    std::vector<TornadoBar> bars;
    for (std::size_t i = 0; i < factors.size(); ++i) {
        TornadoBar bar{factors[i].name, kNaN, kNaN};
        std::vector<double> v(factors.size(), 1.0);
        for (double sign : {-1.0, 1.0}) {
            v[i] = 1 + sign * factors[i].relative;
            const auto o = SizeAndCheck(WithFactors(c, factors, v.data()), actual);
            (sign < 0 ? bar.low : bar.high) = o ? o->area : kNaN;
        }
        bars.push_back(std::move(bar));
    }
    std::stable_sort(bars.begin(), bars.end(), [](const TornadoBar& a, const TornadoBar& b) {
        return a.swing() > b.swing();
    });
    return bars;
}

// The samples into r.areaSamples and r.tActualSamples, in chunks of indices
// that the threads take in turn; false when cancelled before the end.
bool DrawSamples(const Case& c, std::optional<double> actual, const UncertaintyOptions& options,
                 UncertaintyResult& r) {
    const int n = options.samples;
    r.areaSamples.assign(static_cast<std::size_t>(n), kNaN);
    r.tActualSamples.assign(static_cast<std::size_t>(n), kNaN);
    std::atomic<int> next{0}, done{0};
    std::mutex progressMutex;
    std::exception_ptr failure;
    int reported = 0; // the last count told, under progressMutex
    const int step = std::max(1, n / kProgressSteps);
    auto stopped = [&options] { return options.control.cancelled(); };
    auto work = [&] {
        try {
            std::vector<double> v(r.factors.size());
            for (int from; !stopped() && (from = next.fetch_add(kChunk)) < n;) {
                const int to = std::min(n, from + kChunk);
                for (int i = from; i < to; ++i) {
                    SampleRandom random(options.seed, static_cast<std::uint64_t>(i));
                    for (std::size_t j = 0; j < v.size(); ++j)
                        v[j] = 1 + r.factors[j].relative / 2 * random.truncatedNormal();
                    if (const auto o = SizeAndCheck(WithFactors(c, r.factors, v.data()), actual)) {
                        r.areaSamples[static_cast<std::size_t>(i)] = o->area;
                        r.tActualSamples[static_cast<std::size_t>(i)] = o->tActual;
                    }
                }
                const int now = done.fetch_add(to - from) + (to - from);
                const auto& progress = options.control.progress;
                if (progress && ((now - (to - from)) / step != now / step || now == n)) {
                    // Another thread may have counted further meanwhile.
                    const std::lock_guard lock(progressMutex);
                    if (now > reported)
                        progress(static_cast<std::size_t>(reported = now),
                                 static_cast<std::size_t>(n));
                }
            }
        } catch (...) {
            const std::lock_guard lock(progressMutex);
            if (!failure) failure = std::current_exception();
            next = n; // the others stop too
        }
    };
    int threads = options.threads > 0 ? options.threads
                                      : static_cast<int>(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, (n + kChunk - 1) / kChunk);
    {
        std::vector<std::jthread> pool;
        for (int t = 1; t < threads; ++t)
            pool.emplace_back(work);
        work();
    }
    if (failure) std::rethrow_exception(failure);
    return done.load() == n;
}

} // namespace

SampleRandom::SampleRandom(std::uint64_t seed, std::uint64_t index)
    : state_(Mix(Mix(seed) ^ index)) {}

std::uint64_t SampleRandom::next() {
    state_ += 0x9E3779B97F4A7C15ULL;
    return Mix(state_);
}

double SampleRandom::uniform() {
    return static_cast<double>((next() >> 11) + 1) * 0x1.0p-53;
}

double SampleRandom::truncatedNormal() {
    for (;;) {
        const double r = std::sqrt(-2 * std::log(uniform()));
        const double z = r * std::cos(2 * std::numbers::pi * uniform());
        if (std::fabs(z) <= kTruncation) return z;
    }
}

double TornadoBar::swing() const {
    // A bound at which the case cannot be sized moves it most of all.
    if (std::isnan(low) || std::isnan(high)) return kInfinity;
    return std::fabs(high - low);
}

double ResistanceShares::of(ResistancePart p) const {
    switch (p) {
    case ResistancePart::OutsideFilm:
        return outsideFilm;
    case ResistancePart::InsideFilm:
        return insideFilm;
    case ResistancePart::Fouling:
        return fouling;
    case ResistancePart::Wall:
        return wall;
    }
    return 0;
}

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty()) return kNaN;
    const double h = (static_cast<double>(sorted.size()) - 1) * p / 100;
    const auto lo = static_cast<std::size_t>(std::floor(h));
    const double frac = h - static_cast<double>(lo);
    if (frac == 0 || lo + 1 >= sorted.size()) return sorted[lo];
    const double a = sorted[lo], b = sorted[lo + 1];
    // Between a finite and an infinite time the percentile is not finite.
    if (std::isinf(b)) return b;
    return a + frac * (b - a);
}

std::string ScatterProblem(const Case& c, fid::FieldId id) {
    const std::string caption = CaptionOf(id, c.options);
    // Typed, or carried from the vessel page (the mass, the loss area).
    const Quantity& q = c[id];
    const bool given =
        q.state == QState::Input || (q.state == QState::Computed && !IsPassResult(id));
    if (!given || !q.enabled) return caption + "：不是输入的数值，不能给出分散度";
    // A relative scatter of a temperature in °C, or of the margin and the
    // tolerance, which do not change the area needed, means nothing.
    const bool celsius = std::string(FieldTable()[id].siUnit) == "C";
    if (celsius || id == fid::sfD || id == fid::SetErrD)
        return caption + "：不能给出相对分散度" +
               (celsius ? "（温度以°C计，百分数无意义）" : "（不影响所需面积）");
    return {};
}

UncertaintyResult RunUncertainty(const Case& c, const UncertaintyOptions& options) {
    if (options.samples < 1 || options.samples > kMaxUncertaintySamples)
        throw Error("样本数应在1–" + std::to_string(kMaxUncertaintySamples) + "之间");
    UncertaintyResult r;
    r.samples = options.samples;
    r.seed = options.seed;

    const Nominal nominal = NominalOf(c);
    const PassReport& report = nominal.e.report;
    const std::optional<double> actual = nominal.actual;
    r.theoreticalArea = report.theoreticalArea;
    r.nominalAreaNeeded = nominal.areaNeeded;
    r.hasActualArea = actual.has_value();
    r.actualArea = actual.value_or(0);

    const Resistances& parts = report.model.resistances;
    const double total = parts.total();
    r.shares = {parts.outsideFilm / total, parts.insideFilm / total, parts.fouling / total,
                parts.wall / total};
    for (ResistancePart p :
         {ResistancePart::InsideFilm, ResistancePart::Fouling, ResistancePart::Wall})
        if (r.shares.of(p) > r.shares.of(r.controlling)) r.controlling = p;
    r.controllingText = ControllingText(r.controlling, r.shares.of(r.controlling), c);

    r.factors = FactorsOf(c, report.model, options);
    r.tornado = TornadoOf(c, r.factors, actual);
    if (!DrawSamples(c, actual, options, r)) {
        r.cancelled = true;
        return r;
    }
    auto count = [](const std::vector<double>& v, bool (*is)(double)) {
        return static_cast<int>(std::count_if(v.begin(), v.end(), is));
    };
    r.failed = count(r.areaSamples, [](double a) { return std::isnan(a); });
    r.unreached = count(r.tActualSamples, [](double t) { return std::isinf(t); });
    r.areaNeeded = BandOf(r.areaSamples);
    if (r.hasActualArea) r.tActual = BandOf(r.tActualSamples);
    if (r.hasActualArea && r.areaNeeded && r.actualArea < r.areaNeeded->p90)
        r.warning = "实际面积" + Number(r.actualArea) + " m²小于动态校核所需面积的P90（" +
                    Number(r.areaNeeded->p90) +
                    " m²）：面积裕度不足以覆盖关联式与物性数据的不确定度";
    return r;
}

} // namespace kolvane
