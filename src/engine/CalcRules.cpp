#include "engine/CalcRules.h"

#include <array>
#include <cstring>

namespace kolvane {

using namespace fid;

Variant MakeVariant(bool condensing, bool stirred, bool coil, bool toGround) {
    return (condensing ? kCondensing : kSinglePhase) | (stirred ? kStirred : kUnstirred) |
           (coil ? kCoil : kUTube) | (toGround ? kToGround : kToAir);
}

const std::vector<Dependency>& Dependencies() {
    static const std::vector<Dependency> table = {
        // The heat balance's quantities.
        {QoD, 0, {MaoD, CopD, Tom1D, Tom2D}},
        {QiD, kSinglePhase, {WiD, CipD, Ti1D, Ti2D, TaoD}},
        {QiD, kCondensing, {LaiD, WiD, DHiD, TaoD}},
        // Tube-side velocities.
        {UiD, 0, {WiD, DeniD, diiD}},
        {UivD, kCondensing, {UiD, denivD}},
        // The heat-transfer model: film coefficients, loss and area together.
        {kModelNode,
         0,
         {DenoD, VioD, CopD, LdoD, dioD, diiD, WiD, TaoD, RoD, RiD, Tom1D, Tom2D, Ti1D, Ti2D,
          MaoD}},
        {kModelNode, kUnstirred, {BtoD, QiD}},
        {kModelNode, kStirred, {DsD, midD, rvD}},
        {kModelNode, kSinglePhase, {LdiD, ViiD, CipD}},
        {kModelNode, kCondensing, {DeniD, LdiD, ViiD, LaiD, DHiD}},
        {koD, 0, {kModelNode}},
        {kiD, 0, {kModelNode}},
        {AtD, 0, {kModelNode}},
        {KeD, 0, {kModelNode, AeD, StD, BpD, TeD}},
        {QLD, 0, {kModelNode, AeD, StD, BpD, TeD}},
        {KcD, 0, {kModelNode, AeD, StD, BpD, TeD}},
        {WcD, 0, {kModelNode, AeD, StD, BpD, TeD}},
        {TwaD, kToAir, {kModelNode, AeD, StD, BpD, TeD}},
        // The chain after the area.
        {ArD, 0, {sfD, AtD}},
        {TTaD, 0, {kModelNode, Tom1D, Tom2D, Ti1D, Ti2D}},
        {KTaD, 0, {QiD, AtD, TTaD, TaoD}},
        {LtD, 0, {dioD, ArD}},
        {mD, 0, {LtD, SlD, DspD, dioD}},
        {mD, kUTube, {diiD}},
        {DpiD, 0, {DeniD, ViiD, WiD, diiD, EiD, SlD, LtD, DspD, dioD}},
        {DpiD, kUTube, {mD}},
        {DpiD, kCondensing, {denivD, ViivD}},
    };
    return table;
}

namespace {
constexpr FieldId kPassResults[] = {QiD, QoD, UiD, UivD, koD,  kiD,  TwaD, KcD, WcD,
                                    KeD, QLD, AtD, ArD,  TTaD, KTaD, LtD,  mD,  DpiD};
constexpr FieldId kHeadline[] = {WiD, AtD, ArD, LtD};
constexpr FieldId kSingleMembers[] = {WiD, CipD, Ti1D, Ti2D, TaoD, MaoD, CopD, Tom2D, Tom1D, QLD};
constexpr FieldId kCondensingMembers[] = {LaiD, WiD, DHiD, TaoD, MaoD, CopD, Tom2D, Tom1D, QLD};
constexpr FieldId kLossGroup[] = {AeD, StD, BpD, TeD};
} // namespace

std::span<const FieldId> PassResults() {
    return kPassResults;
}

const VariantNeeds& NeedsIn(Variant variant) {
    // The sixteen variants, by their condensing, stirred, coil and ground
    // bits.
    static const auto table = [] {
        std::array<VariantNeeds, 16> t;
        for (unsigned k = 0; k < t.size(); ++k) {
            const Variant v = MakeVariant(k & 1u, k & 2u, k & 4u, k & 8u);
            for (const Dependency& d : Dependencies()) {
                if ((d.when & v) != d.when) continue;
                const auto r = static_cast<std::size_t>(d.result);
                t[k].ruled[r] = true;
                t[k].needs[r].insert(t[k].needs[r].end(), d.needs.begin(), d.needs.end());
            }
        }
        return t;
    }();
    const unsigned k = ((variant & kCondensing) ? 1u : 0u) | ((variant & kStirred) ? 2u : 0u) |
                       ((variant & kCoil) ? 4u : 0u) | ((variant & kToGround) ? 8u : 0u);
    return table[k];
}

bool IsPassResult(int id) {
    static constexpr auto results = [] {
        std::array<bool, kCount> is{};
        for (FieldId r : kPassResults)
            is[r] = true;
        return is;
    }();
    return id >= 0 && id < kCount && results[static_cast<std::size_t>(id)];
}

std::span<const FieldId> HeadlineResults() {
    return kHeadline;
}

std::span<const FieldId> BalanceMembers(bool condensing) {
    if (condensing) return kCondensingMembers;
    return kSingleMembers;
}

std::span<const FieldId> LossGroup() {
    return kLossGroup;
}

namespace {

constexpr double kTriplePointPressure = 611.213; // Pa
constexpr double kCriticalPressure = 22.064e6;   // Pa
constexpr double kShortestBatch = 60;            // s
constexpr double kLongestBatch = 30 * 86400.0;   // s

enum class Rule {
    None,
    Positive,
    NonNegative,
    Percent,
    PitchRatio,
    Temperature,
    Tolerance,
    Fill,
    SaturationPressure,
    HeatingTime,
};

struct InputRule {
    FieldId field;
    Rule rule;
};

// Values that cannot be physical. Insulation may be 0 (a bare vessel) and
// the loss area 0 (no loss); a wall cannot.
constexpr InputRule kInputRules[] = {
    {TaoD, Rule::HeatingTime},  {sfD, Rule::NonNegative}, {SetErrD, Rule::Tolerance},
    {AtD, Rule::Positive},      {ArD, Rule::Positive},    {LtD, Rule::Positive},
    {MaoD, Rule::Positive},     {CopD, Rule::Positive},   {Tom1D, Rule::Temperature},
    {Tom2D, Rule::Temperature}, {VioD, Rule::Positive},   {LdoD, Rule::Positive},
    {DenoD, Rule::Positive},    {BtoD, Rule::Positive},   {BpD, Rule::NonNegative},
    {TeD, Rule::Temperature},   {AeD, Rule::NonNegative}, {StD, Rule::Positive},
    {WiD, Rule::Positive},      {CipD, Rule::Positive},   {Ti1D, Rule::Temperature},
    {Ti2D, Rule::Temperature},  {DHiD, Rule::Positive},   {ViiD, Rule::Positive},
    {LdiD, Rule::Positive},     {DeniD, Rule::Positive},  {denivD, Rule::Positive},
    {ViivD, Rule::Positive},    {LaiD, Rule::Percent},    {dioD, Rule::Positive},
    {diiD, Rule::Positive},     {RiD, Rule::NonNegative}, {EiD, Rule::NonNegative},
    {RoD, Rule::NonNegative},   {DspD, Rule::PitchRatio}, {SlD, Rule::Positive},
    {mD, Rule::Positive},       {VsD, Rule::Positive},    {KvD, Rule::Fill},
    {WsD, Rule::Positive},      {HsD, Rule::Positive},    {DsD, Rule::Positive},
    {midD, Rule::Positive},     {rvD, Rule::Positive},    {PivD, Rule::SaturationPressure},
};

} // namespace

// The rule of each field, by its id.
constexpr auto kRuleOf = [] {
    std::array<Rule, kCount> rules{};
    for (const InputRule& r : kInputRules)
        rules[r.field] = r.rule;
    return rules;
}();

const char* InputRuleViolation(FieldId id, double v) {
    {
        switch (kRuleOf[static_cast<std::size_t>(id)]) {
        case Rule::None:
            return nullptr;
        case Rule::Positive:
            return v > 0 ? nullptr : "应大于0";
        case Rule::NonNegative:
            return v >= 0 ? nullptr : "不能为负数";
        case Rule::Percent:
            return v >= 0 && v < 100 ? nullptr : "应不小于0且小于100%";
        case Rule::PitchRatio:
            return v >= 1 ? nullptr : "应为外管径的倍数（≥1）";
        case Rule::Temperature:
            return v >= -273.15 ? nullptr : "不能低于绝对零度（-273.15 °C）";
        case Rule::Tolerance:
            return v > 0 && v <= 1e-3 ? nullptr : "应大于0且不大于0.001";
        case Rule::Fill:
            return v >= 0 && v <= 1 ? nullptr : "应在0与1之间";
        case Rule::SaturationPressure:
            // Water has a saturation line from its triple point to its
            // critical point (IAPWS-IF97, region 4).
            return v >= kTriplePointPressure && v <= kCriticalPressure
                       ? nullptr
                       : "应在611.213 Pa与22.064 MPa之间（水的饱和线）";
        case Rule::HeatingTime:
            // A batch heated in less than a minute, or for more than a month,
            // is a unit typed wrong far more often than a real batch.
            if (!(v > 0)) return "应大于0";
            return v >= kShortestBatch && v <= kLongestBatch
                       ? nullptr
                       : "不在1 min与30 d之间，单位是否有误？";
        }
    }
    return nullptr;
}

namespace {
// Engineering ranges a result is checked against after every pass. They warn;
// they never stop the calculation.
constexpr WarningRule kWarnings[] = {
    {WarningKind::Range, UiD, kSinglePhase, 0.1, 3, "流速%1 m/s超出单相流体的常用范围0.1–3 m/s",
     "below 0.1 m/s the tube fouls and the film collapses; above 3 m/s the tube erodes"},
    {WarningKind::Range, UivD, kCondensing, 0, 40, "蒸汽流速%1 m/s高于40 m/s",
     "steam above about 40 m/s erodes the inlet and the pressure drop grows fast"},
    {WarningKind::Range, DpiD, 0, 0, 1e5, "压力降%1 Pa高于1 bar",
     "a heating circuit is rarely given more than 1 bar"},
    {WarningKind::Range, kiD, 0, 20, 30000, "管内膜系数%1 W/(m2.K)超出20–30000 W/(m2.K)",
     "film coefficients outside this span point at a wrong property or unit"},
    {WarningKind::Range, koD, 0, 20, 30000, "管外膜系数%1 W/(m2.K)超出20–30000 W/(m2.K)",
     "film coefficients outside this span point at a wrong property or unit"},
    {WarningKind::OutletCross, Ti2D, kSinglePhase, 0, 0, "出口温度%1 °C越过目标温度%2 °C",
     "a medium leaving colder (heating) or warmer (cooling) than the target crosses the "
     "contents' temperature at the end of the batch"},
    {WarningKind::LossShare, QLD, 0, 0.1, 0, "环境热损%1 W超过热负荷的10%",
     "a loss this large says the insulation or the ambient data needs checking"},
    {WarningKind::ShortLayout, LtD, 0, 0, 0, "总管长%1 m短于一程（一圈）所需的%2 m",
     "the bundle or coil is shorter than its own geometry allows; passes are not meaningful"},
    {WarningKind::NoMaintenance, WcD, 0, 0, 0,
     "按环境温度，维持目标温度不需要此介质（未计维持质量流量）",
     "a negative maintenance flow would say the medium must work against its own duty"},
    {WarningKind::Correlation, kiD, 0, 0, 0, "管内膜系数：%1",
     "a film correlation outside the range its source measured may be far off"},
    {WarningKind::Correlation, koD, 0, 0, 0, "管外膜系数：%1",
     "a film correlation outside the range its source measured may be far off"},
    {WarningKind::Correlation, TwaD, kToAir, 0, 0, "保温外壁温：%1",
     "the surface coefficient to air was measured on surfaces below 150 C"},
    {WarningKind::Correlation, DpiD, 0, 0, 0, "压力降：%1",
     "the friction factor is uncertain where the flow is neither laminar nor turbulent"},
    {WarningKind::CheckArea, AtD, 0, 0.02, 0, "校核：动态计算需要%1 m²，比理论面积大%2%",
     "the sizing holds the medium's temperature and the film coefficients constant over the "
     "batch; integrated in time the batch needs more area"},
    {WarningKind::CheckNote, AtD, 0, 0, 0, "校核：%1",
     "the dynamic check could not confirm the sizing, so the area is unchecked"},
};
} // namespace

std::span<const WarningRule> WarningRules() {
    return kWarnings;
}

std::string QualifiedCaption(FieldId id, const std::string& caption) {
    // The stirred correlation reads the vessel page's first dimension.
    if (id == DsD) return "容器" + caption;
    // Where another field has the same caption, the side it belongs to.
    static const auto side = [] {
        std::array<const char*, kCount> s{};
        for (std::size_t i = 0; i < FieldTable().size(); ++i) {
            const FieldRow& row = FieldTable()[i];
            for (const FieldRow& other : FieldTable()) {
                if (&other == &row || std::strcmp(other.caption, row.caption) != 0) continue;
                if (std::strcmp(row.group, "容器物性及热量平衡") == 0) s[i] = "（容器）";
                if (std::strcmp(row.group, "管程物性及热量平衡") == 0) s[i] = "（管程）";
            }
        }
        return s;
    }();
    const char* named = side[static_cast<std::size_t>(id)];
    return named ? caption + named : caption;
}

} // namespace kolvane
