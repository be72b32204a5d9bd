#pragma once

#include "model/HeatingCurve.h"

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

    std::vector<Problem> problems;
    std::vector<Warning> warnings;
    std::vector<Missing> missing;

    bool empty() const { return problems.empty() && warnings.empty() && missing.empty(); }
    // The status bar's message panel: the problems, else what is missing,
    // else the warnings.
    std::string statusText() const;
};

} // namespace kolvane
