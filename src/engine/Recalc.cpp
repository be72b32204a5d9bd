// The recalculation pass: the chain of relations from the heat balance to the
// pressure drop, walked again while the area or the pressure drop changes.
#include "engine/Recalc.h"

#include "engine/Errors.h"
#include "engine/FormKolvane.h"
#include "engine/Hydraulics.h"
#include "engine/UiServices.h"

#include <cmath>
#include <numbers>

namespace kolvane {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kDefaultTolerance = 1e-6;
constexpr double kPressureDropTolerance = 1e-4;
} // namespace

double BalanceSinglePhase(const ValueArray& v, double& qi, double& qo) {
    qi = v[0] * v[1] * (v[2] - v[3]) * v[4];
    qo = v[5] * v[6] * (v[7] - v[8]);
    return qo + v[4] * v[9] - qi;
}

double BalanceCondensing(const ValueArray& v, double& qi, double& qo) {
    qi = (1 - v[0] / 100) * v[1] * v[2] * v[3];
    qo = v[4] * v[5] * (v[6] - v[7]);
    return qo + v[3] * v[8] - qi;
}

double TFormKolvane::passTolerance() const {
    const TEditD& e = f(fid::SetErrD);
    return IsBlank(e) ? kDefaultTolerance : e.SIValue();
}

void TFormKolvane::MaoDExit(Component&) {
    using namespace fid;
    tolerance_ = passTolerance();
    const double tol = tolerance_;
    auto put = [&](fid::FieldId id, double value, const char* what) {
        RequireFinite(value, what);
        return PutComputedValue(f(id), kComputedColor, value, tol) != nullptr;
    };
    // The film coefficients depend on which side takes up heat; keep the
    // texts in step with the temperatures the pass works with.
    refreshHeatDirection(false);

    TEditD* single[] = {&f(WiD),  &f(CipD), &f(Ti1D),  &f(Ti2D),  &f(TaoD),
                        &f(MaoD), &f(CopD), &f(Tom2D), &f(Tom1D), &f(QLD)};
    TEditD* condensingMembers[] = {&f(LaiD), &f(WiD),   &f(DHiD),  &f(TaoD), &f(MaoD),
                                   &f(CopD), &f(Tom2D), &f(Tom1D), &f(QLD)};
    auto writeHeats = [this, tol](double qi, double qo) {
        RequireFinite(qi, "内管热量无法计算");
        RequireFinite(qo, "容器热量无法计算");
        PutComputedValue(f(QiD), kComputedColor, qi, tol);
        PutComputedValue(f(QoD), kComputedColor, qo, tol);
    };
    const Residual singleResidual = [&](const ValueArray& a) {
        double qi, qo;
        double r = BalanceSinglePhase(a, qi, qo);
        writeHeats(qi, qo);
        return r;
    };
    const Residual condensingResidual = [&](const ValueArray& a) {
        double qi, qo;
        double r = BalanceCondensing(a, qi, qo);
        writeHeats(qi, qo);
        return r;
    };

    for (int walk = 0; walk < kMaxWalks; ++walk) {
        const bool condensing = phi_->itemIndex() == 1;
        if (IsBlank(f(QLD))) f(QLD).setText("0.00");

        if (phi_->itemIndex() == 0)
            SolveForUnknown(single, kRelationRed, singleResidual, ui_);
        else
            SolveForUnknown(condensingMembers, kRelationRed, condensingResidual, ui_);

        bool velocityRan = false;
        double ui = 0;
        if (filled({WiD, DeniD, diiD})) {
            const double di = v(diiD);
            ui = 4 * v(WiD) / (kPi * v(DeniD) * di * di);
            put(UiD, ui, "流速无法计算：密度或管内径为零");
            velocityRan = true;
        }
        if (condensing && filled({denivD}) && velocityRan)
            put(UivD, ui * v(DeniD) / v(denivD), "蒸汽流速无法计算：蒸汽密度为零");

        if (filled({Tom1D, Tom2D})) {
            const double area = GetFx();
            if (area < 0) return;
            if (put(AtD, area, "理论面积无法计算")) continue;
        }
        if (filled({sfD, AtD})) put(ArD, (1 + v(sfD) / 100) * v(AtD), "实际面积无法计算");
        if (filled({Tom1D, Tom2D, Ti1D, Ti2D}))
            put(TTaD, (v(Ti1D) + v(Ti2D) - v(Tom1D) - v(Tom2D)) / 2, "时均温差无法计算");
        if (filled({QiD, AtD, TTaD, TaoD}))
            put(KTaD, v(QiD) / (v(AtD) * v(TTaD) * v(TaoD)),
                "时均传热系数无法计算：理论面积或时均温差为零");
        if (filled({dioD, ArD})) put(LtD, v(ArD) / (kPi * v(dioD)), "总管长无法计算：管外径为零");

        bool shapeRan = false;
        double shape = 0;
        if (filled({LtD, SlD, DspD, dioD})) {
            const double lt = v(LtD), sl = v(SlD), s = v(DspD), dO = v(dioD);
            const double sdo = s * dO;
            bool have = false;
            double m = 0;
            if (tshape_->itemIndex() == 0) {
                if (filled({diiD})) {
                    const double a = sl - sdo;
                    const double b = kPi / 2 * sdo + a;
                    shape = 1 + kPi / 2 * sdo * (1 + 3.5 * v(diiD) / sdo) / a;
                    m = lt > a ? (lt - 2 * (a + kPi * sdo / 4)) / b : 1;
                    have = true;
                }
            } else {
                shape = 1 + 1.5 / s * 3.5 * dO / sl;
                // Turns of a helix of diameter Sl and pitch s*do, to a tenth.
                m = std::ceil(10 * lt / std::sqrt(kPi * kPi * sl * sl + sdo * sdo)) / 10;
                have = true;
            }
            if (have) {
                RequireFinite(shape, "管程数无法计算：盘管直径与管间距不合理");
                put(mD, m, "管程数无法计算：盘管直径与管间距不合理");
                shapeRan = true;
            }
        }

        if (!filled({DeniD, ViiD, WiD, diiD, EiD, mD, SlD})) return;
        double rho, mu;
        if (condensing) {
            if (!filled({denivD, ViivD})) return;
            rho = v(denivD);
            mu = v(ViivD);
        } else {
            rho = v(DeniD);
            mu = v(ViiD);
        }
        if (!shapeRan) return;
        const double w = v(WiD), di = v(diiD);
        const double u = 4 * w / (kPi * rho * di * di);
        const double lambda = FrictionFactor(ReynoldsNumber(w, mu, di), di, v(EiD));
        double dp;
        if (tshape_->itemIndex() == 0) {
            dp = lambda * v(mD) * v(SlD) / di * shape * rho * u * u / 2;
        } else {
            const double lambdaCoil = (1 + 1.5 / v(DspD) * 3.5 * di / v(SlD)) * lambda;
            dp = lambdaCoil * v(LtD) / di * shape * rho * u * u / 2;
        }
        RequireFinite(dp, "压力降无法计算");
        if (!PutComputedValue(f(DpiD), kComputedColor, dp, kPressureDropTolerance)) return;
    }
    throw IterationLimitError("计算不收敛：理论面积与压力降反复变化");
}

} // namespace kolvane
