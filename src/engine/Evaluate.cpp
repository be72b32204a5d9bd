// The evaluation of a case: read its quantities once, walk the chain of
// relations from the heat balance to the pressure drop in memory (again while
// the area or the heat loss still changes), then say once what each result
// is. A result is either computed from the case's inputs or empty.
#include "engine/Case.h"

#include "engine/CalcRules.h"
#include "engine/Recalc.h"
#include "formula/NumberFormat.h"
#include "model/Balance.h"
#include "model/BatchCheck.h"
#include "model/Errors.h"
#include "model/HeatModel.h"
#include "model/Hydraulics.h"
#include "model/Iapws97.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <utility>

namespace kolvane {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDefaultTolerance = 1e-6;
constexpr double kPressureDropTolerance = 1e-4;
// The balance's own fields are rewritten at a tenth of the pass tolerance, so
// that the members and heats as shown close the balance to the tolerance.
constexpr double kBalanceShare = 0.1;
// A root leaves at most this share of the duty unbalanced; more means the
// member has no root (it does not act on the balance).
constexpr double kRootClosure = 1e-4;
constexpr std::size_t kMaxNamesInHint = 8;

// What the pass knows of a field.
enum class Slot : unsigned char {
    Empty,   // blank text
    Value,   // a number the pass may use
    Bad,     // not a number
    Refused, // a number that cannot be physical
    Stale,   // a result left by an earlier pass, to be recomputed or emptied
};

std::string Short(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4g", v);
    return buf;
}

std::string Fill(const char* text, const std::string& a, const std::string& b = {}) {
    std::string s = text;
    if (auto p = s.find("%1"); p != std::string::npos) s.replace(p, 2, a);
    if (auto p = s.find("%2"); p != std::string::npos) s.replace(p, 2, b);
    return s;
}

// A row of a material or stirrer table; a position off the table is no
// number, as an empty choice is.
template <typename R> const R& Row(std::span<const R> rows, int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= rows.size()) throw ConvertError("");
    return rows[static_cast<std::size_t>(i)];
}

// The fields a variant reads: the needs of its results, the balance's
// members and, for steam, its pressure. Worked out once for every variant.
const std::array<bool, fid::kCount>& FieldsRead(Variant variant) {
    static const auto table = [] {
        std::array<std::array<bool, fid::kCount>, 256> t{};
        for (unsigned v = 0; v < t.size(); ++v) {
            auto& used = t[v];
            for (const Dependency& d : Dependencies())
                if ((d.when & v) == d.when)
                    for (int n : d.needs)
                        if (n != kModelNode) used[static_cast<std::size_t>(n)] = true;
            const bool condensing = (v & kCondensing) != 0;
            for (fid::FieldId m : BalanceMembers(condensing))
                used[m] = true;
            if (condensing) used[fid::PivD] = true;
        }
        return t;
    }();
    return table[variant & 0xFFu];
}

bool ChangedBy(double before, double after, double tolerance) {
    if (std::isnan(before)) return true;
    double d = before == 0 ? std::fabs(after - before) : std::fabs((after - before) / before);
    return d >= tolerance;
}

} // namespace

std::string PassReport::statusText() const {
    std::string s;
    auto add = [&s](const std::string& t) {
        if (!s.empty()) s += "；";
        s += t;
    };
    if (!notice.empty()) add(notice);
    if (!problems.empty()) {
        for (const auto& p : problems)
            add(p.text);
    } else if (!missing.empty()) {
        add(missing.front().text);
    } else {
        for (const auto& w : warnings)
            add(w.text);
    }
    return s;
}

namespace {

// One evaluation of a case. Reads every quantity once, computes in memory,
// says once what each result is.
class Evaluator {
public:
    Evaluator(const Case& c, Results& results, PassReport& report)
        : c_(c), out_(results), report_(report) {}

    void read();
    void run();
    void write();
    bool computed(fid::FieldId id) const { return computed_[id]; }
    bool withCheck = true;
    double value(fid::FieldId id) const { return v_[id]; }

private:
    using Id = fid::FieldId;

    const Quantity& q(int id) const { return c_.q[static_cast<std::size_t>(id)]; }
    bool has(int id) const { return id == kModelNode ? modelOk_ : s_[id] == Slot::Value; }
    double v(int id) const { return v_[id]; }
    std::string caption(int id) const { return CaptionOf(static_cast<Id>(id), c_.options); }
    // A result is computed when this variant gives it a rule and all its
    // needs are there.
    bool needsMet(int result) const {
        const auto r = static_cast<std::size_t>(result);
        if (!needs_->ruled[r]) return false;
        for (int n : needs_->needs[r])
            if (!has(n)) return false;
        return true;
    }
    void set(int id, double value) {
        v_[id] = value;
        s_[id] = Slot::Value;
        computed_[id] = true;
    }
    // A result that can only be positive; anything else is not written.
    void setPositive(int id, double value) {
        if (std::isfinite(value) && value > 0)
            set(id, value);
        else
            walkProblem("", caption(id) + ": 计算结果" + Short(value) + "不合理，未写入");
    }
    void problem(int id, const std::string& text) {
        report_.problems.push_back({id >= 0 ? FieldTable()[id].name : "", text});
    }
    void walkProblem(const std::string& field, const std::string& text) {
        walkProblems_.push_back({field, text});
    }
    void refuse(int id, const std::string& rule) {
        s_[id] = Slot::Refused;
        problem(id, caption(id) + ": " + rule);
    }
    // The field's value as the user typed it, with its unit: a refusal that
    // points at a unit slip shows what was typed ("管外径 57 m").
    std::string shown(int id) const {
        const Quantity& x = q(id);
        const std::string typed = FormatGeneral(x.value / x.exchange, 7, 4);
        // A case built by hand names its SI unit.
        const char* label =
            x.unit >= 0 ? UnitLabelOf(static_cast<Id>(id), x.unit, c_.options) : nullptr;
        if (!label && x.exchange == 1) label = FieldTable()[id].siUnit;
        const std::string unit = label ? label : "";
        return caption(id) + " " + typed + (unit.empty() ? std::string() : " " + unit);
    }
    // What the user typed where no number was given.
    std::string typed(int id) const { return q(id).text; }
    void refuseShown(int id, const std::string& why) {
        s_[id] = Slot::Refused;
        problem(id, shown(id) + " " + why);
    }
    void steamPressure();

    void readTolerance();
    void checkInputs();
    void planBalance();
    void solveBalance(double ql);
    void heatDirection();
    bool runModel(HeatModelResult& out);
    HeatModelInputs modelInputs() const;
    double walkWith(double ql);
    void chain();
    void keepCurve();
    void runCheck();
    std::string noteText(const CorrelationNote& n) const;
    void warnings();
    void missing();
    void collectMissing(int node, std::vector<int>& out, std::array<bool, kNodeCount>& seen) const;
    void resetWalk();

    const Case& c_;
    Results& out_;
    PassReport& report_;
    double tol_ = kDefaultTolerance;
    Variant variant_ = 0;
    const VariantNeeds* needs_ = nullptr;
    bool condensing_ = false, stirred_ = false, coil_ = false, toGround_ = false;
    std::array<double, fid::kCount> v_{};
    std::array<Slot, fid::kCount> s_{};
    std::array<Slot, fid::kCount> read_{};
    std::array<bool, fid::kCount> computed_{};
    std::array<bool, fid::kCount> used_{};

    // The balance: members, the member solved for, the one to withdraw.
    std::span<const Id> members_;
    int unknown_ = -1;       // field solved for in this pass
    int clearSolved_ = -1;   // solved member that can no longer be computed
    int balanceTarget_ = -1; // the member an under-determined balance would solve
    bool rootOk_ = false;
    double qlFallback_ = 0; // heat loss when the model does not give one
    double qlUsed_ = 0;     // heat loss of the latest balance solved

    std::optional<bool> mediumTakesHeat_;
    bool modelOk_ = false;
    HeatModelResult model_;
    HeatModelInputs modelIn_; // what the model last computed from
    // The friction correlation's range, when the pressure drop left it.
    PressureDrop dp_;
    std::string checkNote_;
    bool layoutShort_ = false;
    bool maintenanceNotNeeded_ = false;
    // The medium's temperatures as the saturation temperature of the steam
    // pressure; shownFromPressure_: they were, before this pass.
    bool fromPressure_ = false, shownFromPressure_ = false;
    std::array<bool, fid::kCount> solvedMark_{};
    TubeLayout layout_;
    std::vector<PassReport::Problem> walkProblems_;
};

void Evaluator::readTolerance() {
    const Quantity& e = q(fid::SetErrD);
    if (e.state == QState::Empty) return;
    std::optional<double> t;
    if (e.state != QState::Refused) t = e.value;
    if (!t) {
        problem(fid::SetErrD,
                caption(fid::SetErrD) + ": '" + typed(fid::SetErrD) + "' 不是有效的数值");
    } else if (const char* rule = InputRuleViolation(fid::SetErrD, *t)) {
        problem(fid::SetErrD, caption(fid::SetErrD) + ": " + rule);
    } else {
        tol_ = *t;
    }
}

void Evaluator::read() {
    const CaseOptions& o = c_.options;
    condensing_ = o.phase == Phase::Condensing;
    stirred_ = o.stirred;
    coil_ = o.tube == TubeForm::Coil;
    toGround_ = o.loss == LossTo::Ground;
    variant_ = MakeVariant(condensing_, stirred_, coil_, toGround_);
    needs_ = &NeedsIn(variant_);
    readTolerance();
    out_.passTolerance = tol_;

    for (int id = 0; id < fid::kCount; ++id) {
        const Quantity& e = q(id);
        v_[id] = e.value;
        switch (e.state) {
        case QState::Empty:
            // Before the model has given a heat loss, the balance counts none.
            s_[id] = id == fid::QLD ? Slot::Value : Slot::Empty;
            v_[id] = id == fid::QLD ? 0 : v_[id];
            break;
        case QState::Input:
            s_[id] = Slot::Value;
            break;
        case QState::Solved:
            s_[id] = Slot::Value;
            solvedMark_[id] = true;
            break;
        case QState::Computed:
            // A result is computed again or emptied; another quantity that
            // was computed (the vessel page's) counts as given.
            s_[id] = IsPassResult(id) ? Slot::Stale : Slot::Value;
            break;
        case QState::Refused:
            s_[id] = Slot::Bad;
            break;
        }
    }
    used_ = FieldsRead(variant_);
    members_ = BalanceMembers(condensing_);
    steamPressure();
    checkInputs();
    read_ = s_;
}

void Evaluator::steamPressure() {
    using namespace fid;
    // Temperatures in the computed look came from the steam pressure: they
    // hold only while a valid pressure gives them again.
    for (Id t : {Ti1D, Ti2D})
        if (q(t).state == QState::Computed) {
            shownFromPressure_ = true;
            s_[t] = Slot::Empty;
        }
    if (!condensing_ || !q(PivD).enabled || s_[PivD] != Slot::Value ||
        InputRuleViolation(PivD, v_[PivD]))
        return;
    // Steam condenses at the saturation temperature of its pressure
    // (IAPWS-IF97, region 4); inlet and outlet alike.
    const double t = if97::SaturationTemperature(v_[PivD]) - 273.15;
    for (Id id : {Ti1D, Ti2D}) {
        v_[id] = t;
        s_[id] = Slot::Value;
    }
    fromPressure_ = true;
}

void Evaluator::checkInputs() {
    using namespace fid;
    for (int id = 0; id < kCount; ++id) {
        if (!used_[id] || !q(id).enabled || id == SetErrD) continue;
        if (s_[id] == Slot::Bad) {
            problem(id, caption(id) + ": '" + typed(id) + "' 不是有效的数值");
        } else if (s_[id] == Slot::Value) {
            const char* rule = InputRuleViolation(static_cast<Id>(id), v_[id]);
            // A heating time of seconds or months, or a steam pressure off
            // the saturation line, is most likely a unit slip: the message
            // shows what was typed.
            if (rule && (id == PivD || (id == TaoD && v_[id] > 0)))
                refuseShown(id, rule);
            else if (rule)
                refuse(id, rule);
        }
    }
    auto value = [this](int id) { return s_[id] == Slot::Value; };
    if (value(diiD) && value(dioD) && v_[diiD] >= v_[dioD]) refuse(diiD, "应小于管外径");
    // A U-tube's bend (pitch times outside diameter) must fit in its leg.
    if (!coil_ && value(DspD) && value(dioD) && value(SlD) && v_[DspD] * v_[dioD] >= v_[SlD])
        refuse(DspD, "与管外径之积（" + Short(v_[DspD] * v_[dioD]) + " m）应小于" +
                         CaptionOf(SlD, c_.options) + "（U型管直段长度）");
    // Sizes that cannot nest, told with what was typed: the usual cause is a
    // unit (57 m for 57 mm).
    auto nests = [&](int inner, int outer) {
        if (value(inner) && value(outer) && v_[inner] >= v_[outer])
            refuseShown(inner, "不小于" + shown(outer));
    };
    if (coil_) nests(dioD, SlD);
    // The vessel's diameter, where the vessel page gives one.
    if (coil_ && q(DsD).enabled) nests(SlD, DsD);
    if (stirred_) nests(midD, DsD);
}

void Evaluator::planBalance() {
    int empty = 0, lastEmpty = -1, solved = -1;
    bool unavailable = false;
    for (std::size_t i = 0; i < members_.size(); ++i) {
        const Id id = members_[i];
        if (s_[id] == Slot::Empty) {
            ++empty;
            lastEmpty = id;
        }
        if (s_[id] == Slot::Bad || s_[id] == Slot::Refused) unavailable = true;
        // Words typed over a solved value are the user's, not a solution.
        if (solvedMark_[id] && q(id).resolvable && s_[id] != Slot::Bad && s_[id] != Slot::Refused)
            solved = id;
    }
    // A solved member that can no longer be computed is withdrawn: from
    // here on it is one more empty member.
    auto withdraw = [this](int id) {
        clearSolved_ = id;
        s_[id] = Slot::Empty;
    };
    // The heat loss is never the unknown: it comes from the model or is 0.
    if (unavailable || empty > 1) {
        if (solved >= 0 && s_[solved] != Slot::Empty) withdraw(solved);
        return;
    }
    if (empty == 1) {
        if (solved >= 0 && solved != lastEmpty) {
            // Two unknowns now: the user must give one of them.
            withdraw(solved);
            return;
        }
        if (q(lastEmpty).resolvable) unknown_ = lastEmpty;
        return;
    }
    if (solved >= 0) unknown_ = solved;
}

void Evaluator::solveBalance(double ql) {
    using namespace fid;
    if (unknown_ < 0) return;
    qlUsed_ = ql;
    ValueArray values{};
    std::size_t at = 0;
    for (std::size_t i = 0; i < members_.size(); ++i) {
        const Id id = members_[i];
        if (id == unknown_) at = i;
        values[i] = id == QLD ? ql : v_[id];
    }
    const bool wasEmpty = read_[unknown_] == Slot::Empty;
    auto residual = [this](const ValueArray& a) {
        double qi, qo;
        return condensing_ ? BalanceCondensing(a, qi, qo) : BalanceSinglePhase(a, qi, qo);
    };
    rootOk_ = false;
    // Named only when something is to be told.
    auto who = [this] { return caption(unknown_) + ": 无法由热量平衡求出"; };
    double x;
    try {
        x = FindRoot(values, at, wasEmpty ? kRootStartValue : values[at], kRootStartDelta,
                     residual);
    } catch (const Error& e) {
        walkProblem(FieldTable()[unknown_].name, who() + "（" + e.what() + "）");
        return;
    }
    values[at] = x;
    double qi, qo;
    const double r =
        condensing_ ? BalanceCondensing(values, qi, qo) : BalanceSinglePhase(values, qi, qo);
    const double scale = std::max({std::fabs(qi), std::fabs(qo)});
    if (!std::isfinite(r) || !(std::fabs(r) <= kRootClosure * scale) || scale == 0) {
        walkProblem(FieldTable()[unknown_].name,
                    who() + "：它不影响热量平衡（例如介质放出的热量为零）");
        return;
    }
    // A root the heat loss pushed out of range says so.
    auto withLoss = [ql] {
        return ql != 0 ? "（已计入环境热损" + Short(ql) + " W）" : std::string();
    };
    if (const char* rule = InputRuleViolation(static_cast<Id>(unknown_), x)) {
        walkProblem(FieldTable()[unknown_].name,
                    who() + "：解为" + Short(x) + "，" + rule + withLoss());
        return;
    }
    // A medium temperature on the wrong side of the contents' for the duty.
    if (!condensing_ && (unknown_ == Ti1D || unknown_ == Ti2D) && v_[Tom2D] != v_[Tom1D]) {
        const bool heating = v_[Tom2D] > v_[Tom1D];
        const double bound = unknown_ == Ti2D ? v_[Tom1D] : v_[Tom2D];
        const bool wrong = heating ? !(x > bound) : !(x < bound);
        if (wrong) {
            const char* side = unknown_ == Ti2D ? "初始温度" : "目标温度";
            walkProblem(FieldTable()[unknown_].name,
                        who() + "：解为" + Short(x) + " °C，" + (heating ? "不高于" : "不低于") +
                            "容器" + side + Short(bound) + " °C，介质无法" +
                            (heating ? "放出" : "吸收") + "这些热量" + withLoss());
            return;
        }
    }
    set(unknown_, x);
    computed_[unknown_] = false; // written by the balance, not as a result
    rootOk_ = true;
}

void Evaluator::heatDirection() {
    using namespace fid;
    mediumTakesHeat_.reset();
    if (!has(Tom1D) || !has(Tom2D)) return;
    auto opt = [this](int id) { return has(id) ? std::optional<double>(v_[id]) : std::nullopt; };
    mediumTakesHeat_ = MediumTakesHeat(v_[Tom1D], v_[Tom2D], opt(Ti1D), opt(Ti2D));
}

HeatModelInputs Evaluator::modelInputs() const {
    using namespace fid;
    HeatModelInputs in;
    in.condensing = condensing_;
    in.stirred = stirred_;
    in.coil = coil_;
    in.lossToGround = toGround_;
    in.mediumTakesHeat = mediumTakesHeat_.value_or(false);
    in.contentsTakeHeat = mediumTakesHeat_ && !*mediumTakesHeat_;
    in.rhoO = v(DenoD);
    in.muO = v(VioD);
    in.cO = v(CopD);
    in.lamO = v(LdoD);
    in.beta = v(BtoD);
    in.m = v(MaoD);
    in.t1 = v(Tom1D);
    in.t2 = v(Tom2D);
    in.tau = v(TaoD);
    in.qi = v(QiD);
    in.w = v(WiD);
    in.ci = v(CipD);
    in.r = condensing_ ? v(DHiD) : 0;
    in.ti1 = v(Ti1D);
    in.ti2 = v(Ti2D);
    in.rhoI = v(DeniD);
    in.lamI = v(LdiD);
    in.muI = v(ViiD);
    in.x = v(LaiD);
    in.dO = v(dioD);
    in.dI = v(diiD);
    in.ro = v(RoD);
    in.ri = v(RiD);
    in.hasShape = has(DspD) && has(SlD);
    in.s = v(DspD);
    in.sl = v(SlD);
    in.ds = v(DsD);
    in.dm = v(midD);
    in.n = v(rvD);
    in.hasLoss = has(AeD) && has(StD) && has(BpD) && has(TeD);
    in.ae = v(AeD);
    in.wallThickness = v(StD);
    in.insulationThickness = v(BpD);
    in.te = v(TeD);
    // Wall, vessel and insulation conductivities from the material lists.
    const CaseOptions& o = c_.options;
    in.lamW = Row(TubeMaterials(), o.tubeMaterial).conductivity;
    in.lamS = Row(WallMaterials(), o.vesselMaterial).conductivity;
    in.lamP = Row(InsulationMaterials(), o.insulation).conductivity;
    in.tolerance = tol_;
    in.outsideFactor = c_.factors.outside;
    in.insideFactor = c_.factors.inside;
    in.surfaceFactor = c_.factors.surface;
    return in;
}

bool Evaluator::runModel(HeatModelResult& out) {
    if (!needsMet(kModelNode)) return false;
    // The layout, the heat loss and the steam's pressure are optional, but
    // one typed and refused
    // is no empty one: the area would be sized without the shape or the loss
    // the user meant to give. Nothing is computed until it is mended.
    for (Id id : {fid::DspD, fid::SlD, fid::AeD, fid::StD, fid::BpD, fid::TeD, fid::PivD})
        if (q(id).enabled && (s_[id] == Slot::Bad || s_[id] == Slot::Refused)) return false;
    try {
        HeatModelInputs in = modelInputs();
        if (stirred_) {
            const StirrerRow& stirrer = Row(Stirrers(), c_.options.stirrer);
            in.a1 = stirrer.a1;
            in.a2 = stirrer.a2;
        }
        out = TheoreticalArea(in);
        modelIn_ = in;
        return true;
    } catch (const Error& e) {
        walkProblem("AtD", e.what());
        return false;
    }
}

void Evaluator::resetWalk() {
    for (Id r : PassResults()) {
        s_[r] = read_[r];
        computed_[r] = false;
    }
    if (unknown_ >= 0) {
        s_[unknown_] = Slot::Empty;
        computed_[unknown_] = false;
    }
    modelOk_ = false;
    layoutShort_ = false;
    dp_ = {};
    walkProblems_.clear();
}

double Evaluator::walkWith(double ql) {
    using namespace fid;
    resetWalk();
    solveBalance(ql);
    if (needsMet(QoD)) set(QoD, v(MaoD) * v(CopD) * (v(Tom2D) - v(Tom1D)));
    if (needsMet(QiD))
        set(QiD, condensing_ ? (1 - v(LaiD) / 100) * v(WiD) * v(DHiD) * v(TaoD)
                             : v(WiD) * v(CipD) * (v(Ti1D) - v(Ti2D)) * v(TaoD));
    heatDirection();

    if (needsMet(UiD)) {
        const double di = v(diiD);
        setPositive(UiD, 4 * v(WiD) / (kPi * v(DeniD) * di * di));
    }
    if (needsMet(UivD)) setPositive(UivD, v(UiD) * v(DeniD) / v(denivD));

    HeatModelResult m;
    modelOk_ = runModel(m);
    if (modelOk_) {
        model_ = m;
        set(AtD, m.area);
        set(koD, m.ko);
        set(kiD, m.ki);
    }
    return modelOk_ && needsMet(QLD) ? m.ql : qlFallback_;
}

void Evaluator::run() {
    using namespace fid;
    planBalance();
    // The heat loss the balance starts from: the model's earlier value when
    // it can give one again, the user's own, or none.
    const bool lossPossible = has(AeD) && has(StD) && has(BpD) && has(TeD);
    qlFallback_ = read_[QLD] == Slot::Value ? v_[QLD] : 0;
    double ql = read_[QLD] == Slot::Stale && lossPossible ? v_[QLD] : qlFallback_;
    double previousArea = read_[AtD] == Slot::Stale || read_[AtD] == Slot::Value
                              ? v_[AtD]
                              : std::numeric_limits<double>::quiet_NaN();

    // The heat loss feeds back through the balance into the model: walk
    // again while the area or the loss still moves. Where the walks do not
    // settle (a loss the balance cannot carry, given back and withdrawn in
    // turn), the loss is bracketed between one the model asks more than
    // (lo) and one it asks less than or the balance cannot carry (hi) and
    // halved: a loss in between is the answer; where there is none, the walk
    // with the loss the model asks for at lo says why.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double lo = nan, hi = nan, asked = nan; // asked: the model's loss at lo
    bool settled = false, bracketing = false;
    for (int walk = 0; walk < kMaxWalks && !settled; ++walk) {
        const double qlNext = walkWith(ql);
        out_.walks = walk + 1;
        const bool ok = modelOk_ && (unknown_ < 0 || rootOk_);
        const bool areaMoved = modelOk_ && ChangedBy(previousArea, model_.area, tol_);
        const double duty = has(QoD) ? std::fabs(v(QoD)) : 0;
        // A loss is settled when it moves the balance by less than a tenth of
        // the tolerance of the duty.
        auto small = [&](double dq) {
            return unknown_ >= 0 && has(TaoD) && duty > 0
                       ? std::fabs(dq) * v(TaoD) <= kBalanceShare * tol_ * duty
                       : dq == 0;
        };
        const bool lossMoved = !small(qlNext - ql);
        if (modelOk_) previousArea = model_.area;
        if (ok && qlNext > ql && !(ql <= lo)) {
            lo = ql;
            asked = qlNext;
        }
        if ((!ok || qlNext < ql) && !(ql >= hi)) hi = ql;
        if (!bracketing) {
            if (!areaMoved && !lossMoved) {
                settled = true;
            } else if (walk < kPlainWalks) {
                ql = qlNext;
            } else if (lo < hi) {
                bracketing = true;
                ql = (lo + hi) / 2;
            } else {
                break;
            }
            continue;
        }
        if (ok && !lossMoved) {
            settled = true;
        } else if (small(hi - lo) || hi - lo <= 1e-9 * std::max(std::fabs(hi), 1.0)) {
            // No loss in between: the balance cannot carry what is lost.
            walkWith(asked);
            settled = true;
        } else {
            ql = (lo + hi) / 2;
        }
    }
    if (!settled) {
        resetWalk();
        problem(-1, "计算不收敛：理论面积与环境热损反复变化");
        return;
    }
    if (modelOk_ && needsMet(QLD)) {
        set(KeD, model_.ke);
        set(QLD, model_.ql);
        set(KcD, model_.kc);
        // Where the surroundings drive the contents towards the duty's side
        // of the target, this medium is not what holds it: no flow is shown.
        if (model_.wc > 0)
            set(WcD, model_.wc);
        else
            maintenanceNotNeeded_ = true;
        if (model_.hasSurface && needsMet(TwaD)) set(TwaD, model_.twa);
        // The ground has no surface temperature to show, even a typed one.
        if (toGround_) read_[TwaD] = Slot::Stale;
    }
    if (modelOk_) keepCurve();
    chain();
    for (const auto& p : walkProblems_)
        report_.problems.push_back(p);
    if (modelOk_) {
        report_.actualArea = has(ArD) ? v(ArD) : model_.area;
        report_.hasActualArea = has(ArD);
        if (withCheck) runCheck();
    }
}

void Evaluator::keepCurve() {
    using namespace fid;
    // The balance the area was found from, for the heating curve and the
    // time averages.
    CurveInputs& c = report_.curve;
    c.m = v(MaoD);
    c.c = v(CopD);
    c.k = model_.k;
    c.tm = (v(Ti1D) + v(Ti2D)) / 2;
    if (needsMet(QLD)) {
        c.ke = model_.ke;
        c.ae = v(AeD);
        c.te = v(TeD);
    }
    c.t1 = v(Tom1D);
    report_.hasCurve = true;
    report_.model = model_;
    report_.checkInputs = modelIn_;
    report_.theoreticalArea = model_.area;
    report_.heatingTime = v(TaoD);
    report_.target = v(Tom2D);
}

void Evaluator::runCheck() {
    // The check is a second opinion: what stops it is told, never blocks.
    try {
        const std::optional<double> actual =
            report_.hasActualArea ? std::optional<double>(report_.actualArea) : std::nullopt;
        report_.check = CheckBatch(modelIn_, model_.area, actual);
        report_.hasCheck = true;
        if (report_.check.note) checkNote_ = report_.check.note;
    } catch (const Error& e) {
        checkNote_ = e.what();
    }
}

void Evaluator::chain() {
    using namespace fid;
    if (needsMet(ArD)) setPositive(ArD, (1 + v(sfD) / 100) * v(AtD));
    // The time average of the medium's mean temperature less the contents'
    // over the heating time, on the curve the area was sized with.
    if (needsMet(TTaD)) set(TTaD, MeanDifference(report_.curve, v(AtD), v(TaoD)));
    if (needsMet(KTaD)) {
        const double k = v(QiD) / (v(AtD) * v(TTaD) * v(TaoD));
        if (std::isfinite(k) && k > 0) set(KTaD, k);
    }
    if (needsMet(LtD)) setPositive(LtD, v(ArD) / (kPi * v(dioD)));

    bool layoutOk = false;
    if (needsMet(mD)) {
        layout_ = coil_ ? CoilLayout(v(LtD), v(SlD), v(DspD), v(dioD))
                        : UTubeLayout(v(LtD), v(SlD), v(DspD), v(dioD), v(diiD));
        layoutOk = std::isfinite(layout_.shape) && layout_.shape > 0;
        layoutShort_ = layout_.short_;
        // A U-tube bundle has at least one pass; a coil of less than a turn
        // has no meaningful turn count.
        if (layoutOk && !(coil_ && layout_.short_)) setPositive(mD, layout_.passes);
    }
    if (layoutOk && needsMet(DpiD)) {
        const double rho = condensing_ ? v(denivD) : v(DeniD);
        const double mu = condensing_ ? v(ViivD) : v(ViiD);
        try {
            dp_ = coil_ ? CoilPressureDrop(v(WiD), rho, mu, v(diiD), v(EiD), v(SlD), v(DspD),
                                           v(LtD), layout_)
                        : UTubePressureDrop(v(WiD), rho, mu, v(diiD), v(EiD), v(SlD), layout_);
            setPositive(DpiD, dp_.dp);
        } catch (const Error& e) {
            walkProblem("DpiD", caption(DpiD) + ": " + e.what());
        }
    }
}

void Evaluator::warnings() {
    using namespace fid;
    for (const WarningRule& r : WarningRules()) {
        if ((r.when & variant_) != r.when) continue;
        const int id = r.field;
        std::string text;
        switch (r.kind) {
        case WarningKind::Range:
            if (computed_[id] && (v(id) < r.lo || v(id) > r.hi)) text = Fill(r.text, Short(v(id)));
            break;
        case WarningKind::OutletCross:
            if (has(Ti2D) && has(Tom2D) && mediumTakesHeat_) {
                const bool heating = !*mediumTakesHeat_;
                if (heating ? v(Ti2D) < v(Tom2D) : v(Ti2D) > v(Tom2D))
                    text = Fill(r.text, Short(v(Ti2D)), Short(v(Tom2D)));
            }
            break;
        case WarningKind::LossShare:
            if (computed_[QLD] && has(QoD) && has(TaoD) &&
                std::fabs(v(QLD)) > r.lo * std::fabs(v(QoD) / v(TaoD)))
                text = Fill(r.text, Short(v(QLD)));
            break;
        case WarningKind::NoMaintenance:
            if (maintenanceNotNeeded_) text = r.text;
            break;
        case WarningKind::Correlation:
            if (!computed_[id]) break;
            if (id == DpiD) {
                if (dp_.outside) {
                    const CorrelationNote n{NoteSide::Inside, dp_.outside, dp_.value, dp_.re};
                    text = Fill(r.text, noteText(n));
                }
                break;
            }
            for (int i = 0; modelOk_ && i < model_.noteCount; ++i) {
                const CorrelationNote& n = model_.notes[i];
                const NoteSide side = id == kiD   ? NoteSide::Inside
                                      : id == koD ? NoteSide::Outside
                                                  : NoteSide::Surface;
                if (n.side == side) text = Fill(r.text, noteText(n));
            }
            break;
        case WarningKind::CheckArea:
            if (auto ratio = report_.checkRatio(); ratio && *ratio > 1 + r.lo && computed_[AtD])
                text = Fill(r.text, Short(*report_.check.areaNeeded), Short((*ratio - 1) * 100));
            break;
        case WarningKind::CheckNote:
            if (!checkNote_.empty() && computed_[AtD]) text = Fill(r.text, checkNote_);
            break;
        case WarningKind::ShortLayout:
            if (layoutShort_ && has(LtD))
                text = Fill(r.text, Short(v(LtD)), Short(layout_.onePass)) +
                       (coil_ ? "，圈数未计" : "，管程数按1程计");
            break;
        }
        if (!text.empty()) report_.warnings.push_back({FieldTable()[id].name, text});
    }
}

std::string Evaluator::noteText(const CorrelationNote& n) const {
    if (!n.validity)
        return "层流Re=" + Short(n.re) + "，未给出管间距与管长（盘管直径），按充分发展Nu=3.66计";
    const Validity& v = *n.validity;
    const std::string group = v.group;
    std::string range = v.hi >= 1e299    ? "≥" + Short(v.lo)
                        : v.lo <= -1e299 ? "≤" + Short(v.hi)
                                         : Short(v.lo) + "–" + Short(v.hi);
    std::string s = group != "Re" && n.re > 0 ? "Re=" + Short(n.re) + "，" : "";
    return s + group + "=" + Short(n.value) + v.unit + "，超出" + v.correlation + "的适用范围（" +
           group + " " + range + v.unit + "）";
}

void Evaluator::collectMissing(int node, std::vector<int>& out,
                               std::array<bool, kNodeCount>& seen) const {
    if (seen[node]) return;
    seen[node] = true;
    if (node != kModelNode && has(node)) return;
    const bool derived = node == kModelNode || IsPassResult(node);
    if (!derived) {
        // An empty input; the member the balance is (or will be) solved for
        // is no input.
        if (s_[node] == Slot::Empty && node != unknown_ && node != balanceTarget_)
            out.push_back(node);
        return;
    }
    ForEachNeed(node, variant_, [&](int n) { collectMissing(n, out, seen); });
}

void Evaluator::missing() {
    using namespace fid;
    auto hint = [this](int result, std::vector<int> inputs) {
        if (inputs.empty()) return;
        std::sort(inputs.begin(), inputs.end());
        PassReport::Missing m{FieldTable()[result].name, caption(result) + "还需要：", {}};
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            m.fields.push_back(FieldTable()[inputs[i]].name);
            if (i < kMaxNamesInHint) m.text += (i ? "、" : "") + caption(inputs[i]);
        }
        if (inputs.size() > kMaxNamesInHint) m.text += "等" + std::to_string(inputs.size()) + "项";
        report_.missing.push_back(std::move(m));
    };
    // The balance: the member it would solve for needs the other empty ones.
    int target = -1;
    std::vector<int> others;
    for (Id m : members_)
        if (s_[m] == Slot::Empty && m != unknown_) others.push_back(m);
    if (others.size() > 1) {
        target = std::find(others.begin(), others.end(), WiD) != others.end() ? WiD : others.back();
        balanceTarget_ = target;
        others.erase(std::find(others.begin(), others.end(), target));
        hint(target, others);
    }
    for (Id r : {AtD, ArD, LtD}) {
        if (has(r)) continue;
        std::vector<int> inputs;
        std::array<bool, kNodeCount> seen{};
        collectMissing(r, inputs, seen);
        hint(r, inputs);
    }
}

void Evaluator::write() {
    using namespace fid;
    out_.mediumTakesHeat = mediumTakesHeat_;
    auto show = [this](int id, Show how, double tolerance = 0) {
        out_.show[id] = how;
        out_.tolerance[id] = tolerance;
    };
    for (Id t : {Ti1D, Ti2D}) {
        if (fromPressure_)
            show(t, Show::FromPressure, tol_);
        else if (shownFromPressure_)
            show(t, Show::Clear);
    }
    if (clearSolved_ >= 0) show(clearSolved_, Show::Clear);
    if (unknown_ >= 0) {
        if (!rootOk_) {
            show(unknown_, Show::Clear);
        } else {
            // Rewritten unless the value given already closes the balance.
            bool closes = false;
            if (q(unknown_).state != QState::Empty && q(unknown_).state != QState::Refused) {
                ValueArray a{};
                for (std::size_t i = 0; i < members_.size(); ++i)
                    a[i] = members_[i] == unknown_   ? q(unknown_).value
                           : members_[i] == fid::QLD ? qlUsed_
                                                     : v(members_[i]);
                double qi, qo;
                const double r =
                    condensing_ ? BalanceCondensing(a, qi, qo) : BalanceSinglePhase(a, qi, qo);
                closes =
                    std::fabs(r) <= kBalanceShare * tol_ * std::max(std::fabs(qi), std::fabs(qo));
            }
            if (!closes || !solvedMark_[unknown_]) show(unknown_, Show::Solved, -1);
        }
    }
    for (Id r : PassResults()) {
        if (computed_[r]) {
            const double t = r == QiD || r == QoD ? kBalanceShare * tol_
                             : r == DpiD          ? kPressureDropTolerance
                                                  : tol_;
            show(r, Show::Computed, t);
        } else if (read_[r] == Slot::Stale) {
            show(r, Show::Clear);
        }
    }
    // What each quantity now is.
    for (int id = 0; id < kCount; ++id) {
        out_.value[id] = v_[id];
        QState& st = out_.state[id];
        switch (s_[id]) {
        case Slot::Empty:
        case Slot::Stale:
            st = QState::Empty;
            break;
        case Slot::Bad:
        case Slot::Refused:
            st = QState::Refused;
            break;
        case Slot::Value:
            // Computed here, or elsewhere (the vessel page's) and given.
            if (computed_[id] || (fromPressure_ && (id == Ti1D || id == Ti2D)) ||
                (q(id).state == QState::Computed && !IsPassResult(id)))
                st = QState::Computed;
            else
                st = id == unknown_ && rootOk_ ? QState::Solved : QState::Input;
            break;
        }
    }
    warnings();
    missing();
}

} // namespace

Evaluation Evaluate(const Case& c, bool withCheck) {
    Evaluation e;
    Evaluator pass(c, e.results, e.report);
    pass.withCheck = withCheck;
    pass.read();
    pass.run();
    pass.write();
    return e;
}

double TheoreticalAreaOf(const Case& c) {
    // The heat quantity and the loss the model needs come from the balance
    // and the walks; no warnings, hints or check.
    Evaluation e;
    Evaluator pass(c, e.results, e.report);
    pass.withCheck = false;
    pass.read();
    pass.run();
    return pass.computed(fid::AtD) ? pass.value(fid::AtD) : -1;
}

const char* UnitLabelOf(fid::FieldId id, int position, const CaseOptions& options) {
    if (id == fid::mD) return options.tube == TubeForm::Coil ? "圈" : "程";
    const std::span<const UnitItem> units = UnitLists()[static_cast<std::size_t>(
        FieldTable()[static_cast<std::size_t>(id)].unitList - 1)];
    if (position < 0 || static_cast<std::size_t>(position) >= units.size()) return nullptr;
    return units[static_cast<std::size_t>(position)].label;
}

std::string CaptionOf(fid::FieldId id, const CaseOptions& options) {
    using namespace fid;
    const bool coil = options.tube == TubeForm::Coil;
    const char* caption = FieldTable()[static_cast<std::size_t>(id)].caption;
    // Captions that follow the options: the tube form names the pitch and
    // the count, the vessel's shape its dimensions.
    if (id == DspD) caption = coil ? "螺距" : "管间距";
    if (id == mD) caption = coil ? "盘管圈数" : "管程数";
    if (id == DsD && options.vessel == 2) caption = "长度";
    if (id == HsD && options.vessel == 3) caption = "长度";
    return QualifiedCaption(id, caption);
}

} // namespace kolvane
