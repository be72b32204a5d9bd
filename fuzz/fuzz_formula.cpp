// Feeds arbitrary bytes to the formula parser, directly and through the
// parameter grid. The first byte picks the path; the rest is the formula.
// Besides crashes, hangs and out-of-bounds reads it checks the two promises
// every caller relies on: a finite result, and 0 whenever there is an error.
#include "formula/FormulaParser.h"
#include "formula/MyValues.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool viaGrid = data[0] & 1;
    std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    kolvane::TFormulaParser parser;
    long double v = 0;
    if (viaGrid) {
        kolvane::TMyValues grid;
        grid.AddParam("t", "20", "C", "温度");
        grid.AddParam("p", "100", "kPa", "压力");
        try {
            v = parser.EvaluateWithValues(text, &grid);
        } catch (const kolvane::RangeCheckError&) {
            return 0;
        }
    } else {
        v = parser.EvaluateText(text);
    }
    if (!std::isfinite(v)) std::abort();
    if (parser.ErrorCode() != kolvane::kFpOk && v != 0) std::abort();
    return 0;
}
