#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace kolvane {

class TFormulaParser;

// The function library of the formula language. The parser registers each
// function name with a kind code and finds the operation that serves it by
// the operation's name ("m" + function name), so the name → operation mapping
// is one table here, not code in the parser.
class TBuildinFuncs {
public:
    using Real = long double;
    using Items = std::span<const Real>;

    // One alternative per kind of argument list: kind 0 nothing, 1 one number,
    // 2 two numbers, 3 a list of numbers, 8 one text, 9 two texts.
    using OpNone = Real (TBuildinFuncs::*)(TFormulaParser&) const;
    using OpOne = Real (TBuildinFuncs::*)(TFormulaParser&, Real) const;
    using OpTwo = Real (TBuildinFuncs::*)(TFormulaParser&, Real, Real) const;
    using OpList = Real (TBuildinFuncs::*)(TFormulaParser&, Items) const;
    using OpText = Real (TBuildinFuncs::*)(TFormulaParser&, const std::string&) const;
    using OpTwoTexts = Real (TBuildinFuncs::*)(TFormulaParser&, const std::string&,
                                               const std::string&) const;
    using Operation = std::variant<OpNone, OpOne, OpTwo, OpList, OpText, OpTwoTexts>;

    // The operation published under `name` (letters compared without regard
    // to case), or nullptr.
    static const Operation* FindOperation(std::string_view name);

    // The kind code an operation of this shape is called with.
    static int KindOf(const Operation& op);

    // Circular functions and angle conversion.
    Real mArctan(TFormulaParser&, Real x) const;
    Real mCos(TFormulaParser&, Real x) const;
    Real mDeg(TFormulaParser&, Real x) const;
    Real Mpi(TFormulaParser&) const;
    Real mRad(TFormulaParser&, Real x) const;
    Real mSin(TFormulaParser&, Real x) const;
    Real mTan(TFormulaParser& p, Real x) const;
    Real mCsc(TFormulaParser& p, Real x) const;
    Real mSec(TFormulaParser& p, Real x) const;
    Real mCot(TFormulaParser& p, Real x) const;

    // Logic.
    Real mAnd(TFormulaParser& p, Items items) const;
    Real mFalse(TFormulaParser&) const;
    Real mIor(TFormulaParser& p, Items items) const;
    Real mTrue(TFormulaParser&) const;
    Real mXor(TFormulaParser& p, Real a, Real b) const;
    Real mNot(TFormulaParser& p, Real x) const;
    Real mIf(TFormulaParser& p, Items items) const;

    // Exponentials, logarithms, powers.
    Real mExp(TFormulaParser& p, Real x) const;
    Real mE(TFormulaParser&) const;
    Real mLn(TFormulaParser& p, Real x) const;
    Real mLog(TFormulaParser& p, Real x) const;
    Real mSqr(TFormulaParser& p, Real x) const;
    Real mSqrt(TFormulaParser& p, Real x) const;

    // Rounding and comparison.
    Real mAbs(TFormulaParser&, Real x) const;
    Real mFrac(TFormulaParser&, Real x) const;
    Real mInt(TFormulaParser&, Real x) const;
    Real mMax(TFormulaParser&, Items items) const;
    Real mMin(TFormulaParser&, Items items) const;
    Real mRound(TFormulaParser&, Real x) const;
    Real mSgn(TFormulaParser&, Real x) const;

    // Hyperbolic functions and their inverses.
    Real mSinh(TFormulaParser& p, Real x) const;
    Real mCosh(TFormulaParser& p, Real x) const;
    Real mTanh(TFormulaParser& p, Real x) const;
    Real mCsch(TFormulaParser& p, Real x) const;
    Real mSech(TFormulaParser& p, Real x) const;
    Real mCoth(TFormulaParser& p, Real x) const;
    Real mArcsinh(TFormulaParser& p, Real x) const;
    Real mArccosh(TFormulaParser& p, Real x) const;
    Real mArctanh(TFormulaParser& p, Real x) const;
    Real mArccsch(TFormulaParser& p, Real x) const;
    Real mArcsech(TFormulaParser& p, Real x) const;
    Real mArccoth(TFormulaParser& p, Real x) const;

    // Statistics.
    Real mAvg(TFormulaParser& p, Items items) const;
    Real mAverage(TFormulaParser& p, Items items) const { return mAvg(p, items); }
    Real mStd(TFormulaParser& p, Items items) const;
    Real mStdDev(TFormulaParser& p, Items items) const { return mStd(p, items); }
    Real mMean(TFormulaParser& p, Items items) const;
    Real mSum(TFormulaParser& p, Items items) const;
    Real mRand(TFormulaParser& p) const;
    Real mRnd(TFormulaParser& p, Real x) const;

    // Texts (they arrive in upper case without spaces).
    Real mLength(TFormulaParser&, const std::string& text) const;
    Real mStrComp(TFormulaParser&, const std::string& a, const std::string& b) const;
};

} // namespace kolvane
