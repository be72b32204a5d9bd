#include "formula/BuildinFuncs.h"
#include "formula/FormulaLimits.h"

#include "formula/FormulaParser.h"
#include "formula/NumberFormat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <unordered_map>

namespace kolvane {

namespace {

using Real = long double;

using namespace formula_limits;
const Real kPi = 3.14159265358979323846264338327950288L;
const Real kE = 2.71828182845904523536028747135266250L;

bool IsBoolean(Real x) {
    return x == 0 || x == 1;
}

bool IsOddInteger(Real y) {
    return y == std::trunc(y) && std::fmod(y, Real(2)) != 0;
}

bool IsInteger(Real y) {
    return y == std::trunc(y);
}

// x² the way SQR forms it, e^(2·ln|x|), so that squares beyond the language's
// range (|x| above about 1E19 or below about 1E-19) are errors, not overflow.
Real Square(TFormulaParser& p, Real x) {
    if (x == 0) return 0;
    Real l = 2 * std::log(std::fabs(x));
    if (std::fabs(l) >= kLnMax) {
        p.SetError(kFpOutOfRange);
        return 0;
    }
    return std::exp(l);
}

struct NamedOperation {
    std::string_view name;
    TBuildinFuncs::Operation op;
};

using B = TBuildinFuncs;

// Every published operation, by name.
const NamedOperation kOperations[] = {
    {"mArctan", B::OpOne(&B::mArctan)},
    {"mCos", B::OpOne(&B::mCos)},
    {"mDeg", B::OpOne(&B::mDeg)},
    {"Mpi", B::OpNone(&B::Mpi)},
    {"mRad", B::OpOne(&B::mRad)},
    {"mSin", B::OpOne(&B::mSin)},
    {"mTan", B::OpOne(&B::mTan)},
    {"mAnd", B::OpList(&B::mAnd)},
    {"mFalse", B::OpNone(&B::mFalse)},
    {"mIor", B::OpList(&B::mIor)},
    {"mTrue", B::OpNone(&B::mTrue)},
    {"mXor", B::OpTwo(&B::mXor)},
    {"mNot", B::OpOne(&B::mNot)},
    {"mExp", B::OpOne(&B::mExp)},
    {"mE", B::OpNone(&B::mE)},
    {"mLn", B::OpOne(&B::mLn)},
    {"mLog", B::OpOne(&B::mLog)},
    {"mSqr", B::OpOne(&B::mSqr)},
    {"mSqrt", B::OpOne(&B::mSqrt)},
    {"mAbs", B::OpOne(&B::mAbs)},
    {"mFrac", B::OpOne(&B::mFrac)},
    {"mInt", B::OpOne(&B::mInt)},
    {"mMax", B::OpList(&B::mMax)},
    {"mMin", B::OpList(&B::mMin)},
    {"mRound", B::OpOne(&B::mRound)},
    {"mSgn", B::OpOne(&B::mSgn)},
    {"mCsc", B::OpOne(&B::mCsc)},
    {"mSec", B::OpOne(&B::mSec)},
    {"mCot", B::OpOne(&B::mCot)},
    {"mSinh", B::OpOne(&B::mSinh)},
    {"mCosh", B::OpOne(&B::mCosh)},
    {"mTanh", B::OpOne(&B::mTanh)},
    {"mCsch", B::OpOne(&B::mCsch)},
    {"mSech", B::OpOne(&B::mSech)},
    {"mCoth", B::OpOne(&B::mCoth)},
    {"mArcsinh", B::OpOne(&B::mArcsinh)},
    {"mArccosh", B::OpOne(&B::mArccosh)},
    {"mArctanh", B::OpOne(&B::mArctanh)},
    {"mArccsch", B::OpOne(&B::mArccsch)},
    {"mArcsech", B::OpOne(&B::mArcsech)},
    {"mArccoth", B::OpOne(&B::mArccoth)},
    {"mAvg", B::OpList(&B::mAvg)},
    {"mAverage", B::OpList(&B::mAverage)},
    {"mStd", B::OpList(&B::mStd)},
    {"mStdDev", B::OpList(&B::mStdDev)},
    {"mMean", B::OpList(&B::mMean)},
    {"mSum", B::OpList(&B::mSum)},
    {"mRand", B::OpNone(&B::mRand)},
    {"mRnd", B::OpOne(&B::mRnd)},
    {"mLength", B::OpText(&B::mLength)},
    {"mStrComp", B::OpTwoTexts(&B::mStrComp)},
    {"mIf", B::OpList(&B::mIf)},
};

std::string UpperCase(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

} // namespace

const TBuildinFuncs::Operation* TBuildinFuncs::FindOperation(std::string_view name) {
    // Indexed by the upper-case name once; every parser resolves its ~50
    // registered names through it when it is created.
    static const std::unordered_map<std::string, const Operation*> index = [] {
        std::unordered_map<std::string, const Operation*> m;
        for (const auto& entry : kOperations)
            m.emplace(UpperCase(entry.name), &entry.op);
        return m;
    }();
    auto it = index.find(UpperCase(name));
    return it == index.end() ? nullptr : it->second;
}

int TBuildinFuncs::KindOf(const Operation& op) {
    static constexpr int kKinds[] = {0, 1, 2, 3, 8, 9};
    return kKinds[op.index()];
}

// --- circular functions ---------------------------------------------------

Real TBuildinFuncs::mArctan(TFormulaParser&, Real x) const {
    return std::atan(x);
}
Real TBuildinFuncs::mCos(TFormulaParser&, Real x) const {
    return std::cos(x);
}
Real TBuildinFuncs::mDeg(TFormulaParser&, Real x) const {
    return x / kPi * 180;
}
Real TBuildinFuncs::Mpi(TFormulaParser&) const {
    return kPi;
}
Real TBuildinFuncs::mRad(TFormulaParser&, Real x) const {
    return x / 180 * kPi;
}
Real TBuildinFuncs::mSin(TFormulaParser&, Real x) const {
    return std::sin(x);
}

Real TBuildinFuncs::mTan(TFormulaParser& p, Real x) const {
    if (IsOddInteger(2 * x / kPi)) {
        p.SetError(kFpTanUndefined);
        return 0;
    }
    return std::sin(x) / std::cos(x);
}

Real TBuildinFuncs::mSec(TFormulaParser& p, Real x) const {
    if (IsOddInteger(2 * x / kPi)) {
        p.SetError(kFpSecUndefined);
        return 0;
    }
    return 1 / std::cos(x);
}

Real TBuildinFuncs::mCsc(TFormulaParser& p, Real x) const {
    if (IsInteger(x / kPi)) {
        p.SetError(kFpCscUndefined);
        return 0;
    }
    return 1 / std::sin(x);
}

Real TBuildinFuncs::mCot(TFormulaParser& p, Real x) const {
    if (IsInteger(x / kPi)) {
        p.SetError(kFpCotUndefined);
        return 0;
    }
    return std::cos(x) / std::sin(x);
}

// --- logic ------------------------------------------------------------------

namespace {
// Every argument of a logical function must be 0 or 1; each one that is not
// sets the error.
bool AllBoolean(TFormulaParser& p, TBuildinFuncs::Items items) {
    bool ok = true;
    for (TBuildinFuncs::Real x : items)
        if (!IsBoolean(x)) {
            p.SetError(kFpNotBoolean);
            ok = false;
        }
    return ok;
}
} // namespace

Real TBuildinFuncs::mAnd(TFormulaParser& p, Items items) const {
    if (!AllBoolean(p, items)) return 0;
    bool r = items[0] == 1;
    for (std::size_t i = 1; i < items.size(); ++i)
        r = r && items[i] == 1;
    return r ? 1 : 0;
}

Real TBuildinFuncs::mIor(TFormulaParser& p, Items items) const {
    if (!AllBoolean(p, items)) return 0;
    bool r = items[0] == 1;
    for (std::size_t i = 1; i < items.size(); ++i)
        r = r || items[i] == 1;
    return r ? 1 : 0;
}

Real TBuildinFuncs::mFalse(TFormulaParser&) const {
    return 0;
}
Real TBuildinFuncs::mTrue(TFormulaParser&) const {
    return 1;
}

Real TBuildinFuncs::mXor(TFormulaParser& p, Real a, Real b) const {
    if (!IsBoolean(a) || !IsBoolean(b)) {
        p.SetError(kFpNotBoolean);
        return 0;
    }
    return a != b ? 1 : 0;
}

Real TBuildinFuncs::mNot(TFormulaParser& p, Real x) const {
    if (!IsBoolean(x)) {
        p.SetError(kFpNotBoolean);
        return 0;
    }
    return x == 0 ? 1 : 0;
}

Real TBuildinFuncs::mIf(TFormulaParser& p, Items items) const {
    if (items.size() != 3) {
        p.SetError(kFpIfArgumentCount);
        return 0;
    }
    if (!IsBoolean(items[0])) {
        p.SetError(kFpIfCondition);
        return 0;
    }
    return items[0] == 1 ? items[1] : items[2];
}

// --- exponentials and powers -----------------------------------------------

Real TBuildinFuncs::mExp(TFormulaParser& p, Real x) const {
    if (std::fabs(x) >= kLnMax) {
        p.SetError(kFpOutOfRange);
        return 0;
    }
    return std::exp(x);
}

Real TBuildinFuncs::mE(TFormulaParser&) const {
    return kE;
}

Real TBuildinFuncs::mLn(TFormulaParser& p, Real x) const {
    if (x <= 0) {
        p.SetError(kFpLogDomain);
        return 0;
    }
    return std::log(x);
}

Real TBuildinFuncs::mLog(TFormulaParser& p, Real x) const {
    if (x <= 0) {
        p.SetError(kFpLogDomain);
        return 0;
    }
    return std::log(x) / std::log(Real(10));
}

Real TBuildinFuncs::mSqr(TFormulaParser& p, Real x) const {
    return Square(p, x);
}

Real TBuildinFuncs::mSqrt(TFormulaParser& p, Real x) const {
    if (x < 0) {
        p.SetError(kFpSqrtDomain);
        return 0;
    }
    return std::sqrt(x);
}

// --- rounding and comparison -------------------------------------------------

Real TBuildinFuncs::mAbs(TFormulaParser&, Real x) const {
    return std::fabs(x);
}
Real TBuildinFuncs::mFrac(TFormulaParser&, Real x) const {
    return x - std::trunc(x);
}
Real TBuildinFuncs::mInt(TFormulaParser&, Real x) const {
    return std::trunc(x);
}

Real TBuildinFuncs::mMax(TFormulaParser&, Items items) const {
    Real m = items[0];
    for (Real x : items)
        if (x > m) m = x;
    return m;
}

Real TBuildinFuncs::mMin(TFormulaParser&, Items items) const {
    Real m = items[0];
    for (Real x : items)
        if (x < m) m = x;
    return m;
}

Real TBuildinFuncs::mRound(TFormulaParser&, Real x) const {
    // Only values that fit a 32-bit integer are rounded; larger ones are
    // already integral at the precision anyone types.
    if (std::fabs(x) >= 2147483646) return x;
    return std::trunc(x >= 0 ? x + Real(0.5) : x - Real(0.5));
}

Real TBuildinFuncs::mSgn(TFormulaParser&, Real x) const {
    return x < 0 ? -1 : 1;
}

// --- hyperbolic functions ------------------------------------------------------
// The library functions give the same values as the exponential definitions
// without their cancellation near 0 (SINH(1E-10) keeps all its digits).

namespace {
bool HyperbolicInRange(TFormulaParser& p, Real x) {
    if (std::fabs(x) > kLnMax) {
        p.SetError(kFpHyperbolicRange);
        return false;
    }
    return true;
}
} // namespace

Real TBuildinFuncs::mSinh(TFormulaParser& p, Real x) const {
    return HyperbolicInRange(p, x) ? std::sinh(x) : 0;
}

Real TBuildinFuncs::mCosh(TFormulaParser& p, Real x) const {
    return HyperbolicInRange(p, x) ? std::cosh(x) : 0;
}

Real TBuildinFuncs::mTanh(TFormulaParser& p, Real x) const {
    return HyperbolicInRange(p, x) ? std::tanh(x) : 0;
}

Real TBuildinFuncs::mCsch(TFormulaParser& p, Real x) const {
    if (!HyperbolicInRange(p, x)) return 0;
    if (x == 0) {
        p.SetError(kFpCschUndefined);
        return 0;
    }
    return 1 / std::sinh(x);
}

Real TBuildinFuncs::mSech(TFormulaParser& p, Real x) const {
    return HyperbolicInRange(p, x) ? 1 / std::cosh(x) : 0;
}

Real TBuildinFuncs::mCoth(TFormulaParser& p, Real x) const {
    if (!HyperbolicInRange(p, x)) return 0;
    if (x == 0) {
        p.SetError(kFpCothUndefined);
        return 0;
    }
    return 1 / std::tanh(x);
}

// The inverse functions are evaluated with asinh/acosh/atanh rather than the
// logarithm forms: ln(x + √(x²+1)) is exactly 0 for x = -1E10 in 64-bit
// mantissas and would return -infinity.

Real TBuildinFuncs::mArcsinh(TFormulaParser& p, Real x) const {
    if (std::fabs(x) >= kSqrtMax) {
        p.SetError(kFpHyperbolicRange);
        return 0;
    }
    return std::asinh(x);
}

Real TBuildinFuncs::mArccosh(TFormulaParser& p, Real x) const {
    if (std::fabs(x) >= kSqrtMax) {
        p.SetError(kFpHyperbolicRange);
        return 0;
    }
    if (x < 1) {
        p.SetError(kFpArccoshDomain);
        return 0;
    }
    return std::acosh(x);
}

Real TBuildinFuncs::mArctanh(TFormulaParser& p, Real x) const {
    if (std::fabs(x) >= 1) {
        p.SetError(kFpArctanhDomain);
        return 0;
    }
    return std::atanh(x);
}

Real TBuildinFuncs::mArccsch(TFormulaParser& p, Real x) const {
    if (x >= kSqrtMax) {
        p.SetError(kFpHyperbolicRange);
        return 0;
    }
    if (x == 0) {
        p.SetError(kFpArccschUndefined);
        return 0;
    }
    return std::asinh(1 / x);
}

Real TBuildinFuncs::mArcsech(TFormulaParser& p, Real x) const {
    if (x >= kSqrtMax) {
        p.SetError(kFpHyperbolicRange);
        return 0;
    }
    if (x <= 0 || x > 1) {
        p.SetError(kFpArcsechDomain);
        return 0;
    }
    return std::acosh(1 / x);
}

Real TBuildinFuncs::mArccoth(TFormulaParser& p, Real x) const {
    if (std::fabs(x) <= 1) {
        p.SetError(kFpArccothDomain);
        return 0;
    }
    return std::atanh(1 / x);
}

// --- statistics --------------------------------------------------------------

Real TBuildinFuncs::mAvg(TFormulaParser& p, Items items) const {
    if (items.empty()) {
        p.SetError(kFpAverageEmpty);
        return 0;
    }
    Real s = 0;
    for (Real x : items)
        s += x;
    return s / static_cast<Real>(items.size());
}

Real TBuildinFuncs::mStd(TFormulaParser& p, Items items) const {
    // The squares are formed as SQR forms them only for their range check;
    // the value itself is computed from the deviations about the mean, which
    // keeps its digits where S2 - n·A² would cancel (1000000.1, 1000000.2)
    // and cannot come out negative for equal items.
    bool inRange = true;
    for (Real x : items) {
        if (x != 0) {
            Real l = 2 * std::log(std::fabs(x));
            if (std::fabs(l) >= kLnMax) {
                p.SetError(kFpOutOfRange);
                inRange = false;
            }
        }
    }
    if (items.size() < 2) {
        p.SetError(kFpStdDevTooFew);
        return 0;
    }
    if (!inRange) return 0;
    Real mean = 0;
    for (Real x : items)
        mean += x;
    mean /= static_cast<Real>(items.size());
    Real s2 = 0;
    for (Real x : items)
        s2 += (x - mean) * (x - mean);
    return std::sqrt(s2 / static_cast<Real>(items.size() - 1));
}

Real TBuildinFuncs::mMean(TFormulaParser& p, Items) const {
    p.SetError(kFpNotImplemented);
    return 0;
}

Real TBuildinFuncs::mSum(TFormulaParser& p, Items items) const {
    Real s = 0;
    for (Real x : items) {
        if (std::fabs(s / 10 + x / 10) >= kSumBound) {
            p.SetError(kFpOutOfRange);
            continue;
        }
        s += x;
    }
    return s;
}

Real TBuildinFuncs::mRand(TFormulaParser& p) const {
    // 64 random bits scaled by 2^-64 are exact in a 64-bit mantissa, so the
    // largest draw is 1 - 2^-64, never 1.
    return static_cast<Real>(p.Random()()) * 0x1p-64L;
}

Real TBuildinFuncs::mRnd(TFormulaParser& p, Real x) const {
    // The argument must read back as a 32-bit integer literal from its
    // shortest text: "2.5", "1E20" and "3000000000" are refused.
    std::string text = FormatGeneral(x, 15, 1);
    std::int32_t n = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (ec != std::errc() || ptr != end) {
        p.SetError(kFpRndRange);
        return 0;
    }
    if (n == 0) return 0;
    // A negative range draws from (n, 0], the mirror of [0, n).
    std::int64_t range = n < 0 ? -static_cast<std::int64_t>(n) : n;
    std::uniform_int_distribution<std::int64_t> pick(0, range - 1);
    std::int64_t r = pick(p.Random());
    return static_cast<Real>(n < 0 ? -r : r);
}

// --- texts ---------------------------------------------------------------------

Real TBuildinFuncs::mLength(TFormulaParser&, const std::string& text) const {
    // Characters, not bytes: UTF-8 continuation bytes are not counted.
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return static_cast<Real>(n);
}

Real TBuildinFuncs::mStrComp(TFormulaParser&, const std::string& a, const std::string& b) const {
    return a == b ? 1 : 0;
}

} // namespace kolvane
