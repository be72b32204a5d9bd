#pragma once

#include "model/BatchCheck.h"
#include "model/HeatingCurve.h"

#include <optional>
#include <string>
#include <vector>

namespace kolvane {

// What the latest recalculation pass has to tell the user besides the
// numbers: inputs it refused and steps that failed, results that look
// implausible, and the empty inputs that headline results still need.
// Field names are component names ("MaoD"); texts are what the user reads.
struct PassReport {
    struct Problem {
        std::string field; // "" when no single field is to blame
        std::string text;  // "质量: 应大于0"
    };
    struct Warning {
        std::string field;
        std::string text;
    };
    struct Missing {
        std::string result;              // "AtD"
        std::string text;                // "理论面积还需要：不凝气体、容器直径"
        std::vector<std::string> fields; // the empty inputs, in table order
    };
    // The batch's balance as the pass solved it, for the heating curve;
    // `hasCurve` only when the theoretical area was computed.
    bool hasCurve = false;
    CurveInputs curve;
    double theoreticalArea = 0, actualArea = 0, heatingTime = 0, target = 0;
    // With the curve: the sizing's films, the parts of 1/K and the
    // correlations behind them, and the model's inputs (which also draw the
    // check's curve).
    HeatModelResult model;
    HeatModelInputs checkInputs;
    // The dynamic check of the sizing, when the pass computed an area
    // (`hasCheck`).
    bool hasCheck = false;
    BatchCheck check;
    bool hasActualArea = false; // the actual area was computed (tActual refers to it)
    // The area the check needs over the theoretical area.
    std::optional<double> checkRatio() const {
        if (!hasCheck || !check.areaNeeded || !(theoreticalArea > 0)) return std::nullopt;
        return *check.areaNeeded / theoreticalArea;
    }

    std::vector<Problem> problems;
    std::vector<Warning> warnings;
    std::vector<Missing> missing;
    // After a load: the results the file held that its inputs do not give
    // ("已按当前输入重新计算：理论面积 6.302 → 8.07 m2"), shown first.
    std::string notice;

    bool empty() const {
        return problems.empty() && warnings.empty() && missing.empty() && notice.empty();
    }
    // The status bar's message panel: the problems, else what is missing,
    // else the warnings.
    std::string statusText() const;
};

} // namespace kolvane
