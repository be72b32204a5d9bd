#include "form/EditD.h"
#include "form/Solver.h"
#include "form/UiServices.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kolvane {
namespace {

constexpr const char* kWarning = "发现错误，可能是输入数据错误！";

// A two-member relation a - b = 0 over real fields.
struct Relation : testing::Test {
    TEditD a{"a"}, b{"b"};
    ScriptedUiServices ui;
    std::array<TEditD*, 2> members{&a, &b};
    Residual minus = [](const ValueArray& v) { return v[0] - v[1]; };

    void solve(const Residual& r) { SolveForUnknown(members, kRelationRed, r, ui); }
};

TEST_F(Relation, SolvesTheOnlyEmptyMemberInTheRelationColour) {
    b.setText("5");
    solve(minus);
    EXPECT_NEAR(a.SIValue(), 5, 1e-8);
    EXPECT_EQ(a.color(), kRelationRed);
    EXPECT_TRUE(a.readOnly());
    EXPECT_EQ(a.cursor(), Cursor::NoEntry);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Relation, RevisitWithNothingChangedDoesNotRewrite) {
    b.setText("5");
    solve(minus);
    std::string before = a.text();
    int changes = 0;
    a.onChange = [&](Component&) { ++changes; };
    solve(minus);
    EXPECT_EQ(a.text(), before);
    EXPECT_EQ(changes, 0);
}

TEST_F(Relation, ResolvesTheSolvedMemberWhenAnInputChanges) {
    b.setText("5");
    solve(minus);
    b.setText("8");
    solve(minus);
    EXPECT_NEAR(a.SIValue(), 8, 1e-8);
    EXPECT_EQ(a.color(), kRelationRed);
}

TEST_F(Relation, EmptiedInputClearsTheSolvedMember) {
    b.setText("5");
    solve(minus);
    b.setText("");
    solve(minus);
    EXPECT_EQ(a.text(), "");
    EXPECT_EQ(a.color(), kClWindow);
    EXPECT_FALSE(a.readOnly());
    // Now two members are empty: nothing happens.
    solve(minus);
    EXPECT_EQ(a.text(), "");
    EXPECT_EQ(b.text(), "");
}

TEST_F(Relation, AllFilledAndNoneSolvedIsNotChecked) {
    a.setText("1");
    b.setText("2");
    solve(minus);
    EXPECT_EQ(a.text(), "1");
    EXPECT_EQ(b.text(), "2");
}

TEST_F(Relation, ResidualIndependentOfTheUnknownWritesTheStartValue) {
    b.setText("5");
    solve([](const ValueArray& v) { return v[1] - 5; });
    EXPECT_EQ(a.text(), "1.2345");
}

TEST_F(Relation, SolvedMemberAtZeroStaysAtZero) {
    a.setText("0");
    a.setColor(kRelationRed);
    b.setText("5");
    solve(minus);
    EXPECT_EQ(a.text(), "0");
}

TEST_F(Relation, MemberThatMayNotBeSolvedIsNeverWritten) {
    a.setMyResolved(false);
    b.setText("5");
    solve(minus);
    EXPECT_EQ(a.text(), "");
    // Its colour does not mark it solved either.
    a.setText("3");
    a.setColor(kRelationRed);
    b.setText("");
    solve(minus);
    EXPECT_EQ(a.text(), "3");
}

TEST_F(Relation, HighestPositionedColouredMemberCountsAsSolved) {
    a.setText("1");
    a.setColor(kRelationRed);
    b.setText("1");
    b.setColor(kRelationRed);
    solve([](const ValueArray& v) { return v[1] - 2 * v[0]; });
    EXPECT_NEAR(b.SIValue(), 2, 1e-8);
    EXPECT_EQ(a.text(), "1");
}

TEST_F(Relation, WordsInAMemberWarnAndPassTheErrorOn) {
    b.setText("abc");
    EXPECT_THROW(solve(minus), ConvertError);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "message");
    EXPECT_EQ(ui.shown[0].text, kWarning);
    EXPECT_EQ(a.text(), "");
}

TEST_F(Relation, NonFiniteResidualWarnsAndWritesNothing) {
    b.setText("5");
    EXPECT_THROW(solve([](const ValueArray& v) { return std::log(v[0] - 100); }), MathError);
    EXPECT_EQ(ui.shown.at(0).text, kWarning);
    EXPECT_EQ(a.text(), "");
}

TEST_F(Relation, NoRootEndsWithANonConvergenceErrorNotAHang) {
    b.setText("5");
    // sign(x)*sqrt|x|: every secant step jumps to the mirror point, for ever.
    try {
        solve([](const ValueArray& v) { return std::copysign(std::sqrt(std::fabs(v[0])), v[0]); });
        FAIL() << "expected an error";
    } catch (const IterationLimitError& e) {
        EXPECT_NE(std::string(e.what()).find("不收敛"), std::string::npos);
    }
    EXPECT_EQ(ui.shown.at(0).text, kWarning);
    EXPECT_EQ(a.text(), "");
}

TEST_F(Relation, SideEffectsOfTheResidualBelongToTheSolution) {
    // The balance residual writes its heat quantities at every evaluation;
    // what stays must be the value at the root, not at a perturbed point.
    b.setText("5");
    double seen = 0;
    solve([&](const ValueArray& v) {
        seen = v[0];
        return v[0] - v[1];
    });
    EXPECT_DOUBLE_EQ(seen, a.SIValue());
}

TEST(FindRoot, SecantConvergesAndLeavesTheCallersArray) {
    ValueArray v{};
    v[1] = 2;
    double x = FindRoot(v, 0, 1.2345, 1e-4, [](const ValueArray& a) { return a[0] * a[0] - a[1]; });
    EXPECT_NEAR(x, std::sqrt(2.0), 1e-8);
    EXPECT_EQ(v[0], 0.0);
}

TEST(FindRoot, LastEvaluationIsAtThePerturbedPoint) {
    // Side effects of the residual show the perturbed point of the last step.
    ValueArray v{};
    double last = 0;
    double x = FindRoot(v, 0, 1.2345, 1e-4, [&](const ValueArray& a) {
        last = a[0];
        return a[0] - 3;
    });
    EXPECT_NEAR(x, 3, 1e-8);
    EXPECT_NE(last, x);
    EXPECT_NEAR(last, 3 * (1 + 1e-4), 1e-6);
}

TEST(FindRoot, StartAtZeroCannotMove) {
    ValueArray v{};
    EXPECT_EQ(FindRoot(v, 0, 0.0, 1e-4, [](const ValueArray& a) { return a[0] - 7; }), 0.0);
}

TEST(FindRoot, SlowProblemStillConvergesAfterPerturbationShrinks) {
    // A triple root converges linearly: far more than 21 steps.
    ValueArray v{};
    int calls = 0;
    double x = FindRoot(v, 0, 1.2345, 1e-4, [&](const ValueArray& a) {
        ++calls;
        return std::pow(a[0] - 3, 3);
    });
    EXPECT_NEAR(x, 3, 1e-6);
    EXPECT_GT(calls, 2 * 21);
}

TEST(FindRoot, OverflowIsAMathErrorNotAnInfiniteValue) {
    // The first secant step from 1.2345 jumps far beyond exp's range.
    ValueArray v{};
    EXPECT_THROW(
        FindRoot(v, 0, 1.2345, 1e-4, [](const ValueArray& a) { return std::exp(a[0]) - 1e6; }),
        MathError);
}

} // namespace
} // namespace kolvane
