#include "engine/MainFormTables.h"
#include "form/ComboBoxU.h"
#include "form/EditD.h"
#include "form/Form.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kolvane {
namespace {

// A field with its label and the heating-time unit list, as the window has it.
struct TimeField : testing::Test {
    Form form;
    TLabel& label = form.add<TLabel>(nullptr, "TaoL", "加热时间");
    TEditD& field = form.add<TEditD>(nullptr, "TaoD");
    TComboBoxU& unit =
        form.add<TComboBoxU>(nullptr, "TaoU",
                             std::vector<std::string>{MakeItem("S", "1"), MakeItem("min", "60"),
                                                      MakeItem("hr", "3600")});
    int changes = 0;

    void SetUp() override {
        field.setMyLabel("TaoL");
        unit.setAssociated(&field);
        unit.Loaded();
        field.onChange = [this](Component&) { ++changes; };
    }
};

TEST_F(TimeField, UnitChangeKeepsTheSiValue) {
    field.setText("120");
    unit.Select(1);
    EXPECT_EQ(field.text(), "2");
    EXPECT_DOUBLE_EQ(field.SIValue(), 120);
    unit.Select(0);
    EXPECT_EQ(field.text(), "120");
    EXPECT_DOUBLE_EQ(field.SIValue(), 120);
    unit.Select(2);
    EXPECT_EQ(field.text(), "0.0333333333333333");
    EXPECT_NEAR(field.SIValue(), 120, 1e-9);
}

TEST_F(TimeField, UnitChangeOnEmptyOrWordsChangesOnlyTheFactor) {
    unit.Select(1);
    EXPECT_EQ(field.text(), "");
    EXPECT_DOUBLE_EQ(field.exchange(), 60);
    field.setText("abc");
    unit.Select(2);
    EXPECT_EQ(field.text(), "abc");
    EXPECT_DOUBLE_EQ(field.exchange(), 3600);
    // Blanks around a number are trimmed before it is rescaled.
    field.setText("  2 ");
    unit.Select(1);
    EXPECT_EQ(field.text(), "120");
}

TEST_F(TimeField, SettingTheSelectionFromCodeLeavesTheFactor) {
    field.setText("120");
    unit.setItemIndex(1);
    EXPECT_EQ(field.text(), "120");
    EXPECT_DOUBLE_EQ(field.exchange(), 1);
}

TEST_F(TimeField, ABadFactorKeepsFactorAndText) {
    unit.setItems({MakeItem("S", "1"), MakeItem("bad", "x1")});
    field.setText("5");
    EXPECT_THROW(unit.Select(1), ConvertError);
    EXPECT_DOUBLE_EQ(field.exchange(), 1);
    EXPECT_EQ(field.text(), "5");
}

TEST_F(TimeField, SelectOutsideTheListIsAnError) {
    EXPECT_THROW(unit.Select(3), Error);
    EXPECT_THROW(unit.Select(-1), Error);
    EXPECT_EQ(unit.itemIndex(), 0);
}

TEST_F(TimeField, ChangeEventFiresOnlyWhenTheTextChanges) {
    field.setText("1");
    field.setText("1");
    field.SetSIValue(1);
    EXPECT_EQ(changes, 1);
    field.SetSIValue(2);
    EXPECT_EQ(changes, 2);
}

TEST_F(TimeField, MyLabelFollowsTheWindow) {
    EXPECT_EQ(field.MyLabel(), &label);
    EXPECT_EQ(field.caption(), "加热时间");
    field.setMyLabel("NoSuchL");
    EXPECT_EQ(field.MyLabel(), nullptr);
    EXPECT_EQ(field.caption(), "");
    TEditD loose("x");
    loose.setMyLabel("TaoL"); // not owned by a window
    EXPECT_EQ(loose.MyLabel(), nullptr);
}

TEST(EditD, SiValueFailsOnEmptyBlankOrWords) {
    TEditD f("f");
    for (const char* t : {"", "   ", "abc", "1,5"}) {
        f.setText(t);
        EXPECT_THROW(f.SIValue(), ConvertError) << t;
    }
    f.setText(" \t3.5\r\n");
    EXPECT_DOUBLE_EQ(f.SIValue(), 3.5);
}

TEST(EditD, SetSiValueWritesFifteenDigitsAndShowsSeven) {
    TEditD f("f");
    f.SetSIValue(1.0 / 3.0);
    EXPECT_EQ(f.text(), "0.333333333333333");
    EXPECT_EQ(f.FloatStr(), "0.3333333");
    // The value written is read back exactly, not as its 15-digit text; a
    // typed text and a new unit are read from the text again.
    EXPECT_EQ(f.SIValue(), 1.0 / 3.0);
    f.setText("0.25");
    EXPECT_EQ(f.SIValue(), 0.25);
    f.setExchange(1000);
    EXPECT_EQ(f.text(), "0.00025");
    EXPECT_DOUBLE_EQ(f.SIValue(), 0.25);
    f.SetSIValue(2500);
    EXPECT_EQ(f.text(), "2.5");
    EXPECT_EQ(f.SIValue(), 2500);
}

TEST(EditD, NonFiniteValuesNeverReachTheText) {
    TEditD f("f");
    f.setText("7");
    EXPECT_THROW(f.SetSIValue(std::numeric_limits<double>::infinity()), MathError);
    EXPECT_THROW(f.SetSIValue(std::nan("")), MathError);
    EXPECT_THROW(PutComputedValue(f, kComputedColor, std::nan(""), 1e-6), MathError);
    EXPECT_EQ(f.text(), "7");
    EXPECT_EQ(f.color(), kClWindow);
    // A unit change whose result overflows keeps the old factor and text.
    f.setText("1e300");
    EXPECT_THROW(f.setExchange(1e-300), MathError);
    EXPECT_EQ(f.text(), "1e300");
    EXPECT_DOUBLE_EQ(f.exchange(), 1);
}

TEST(EditD, StartingToleranceTextReadsAsOneMillionth) {
    TEditD f("SetErrD");
    f.setText("1E-6");
    EXPECT_EQ(f.FloatStr(), "1E-0006");
    EXPECT_DOUBLE_EQ(f.SIValue(), 1e-6);
}

TEST(EditD, MyResolvedSetsBorderAndBlueFont) {
    TEditD f("f");
    f.setFontColor(kClWindowText);
    f.setMyResolved(false);
    EXPECT_FALSE(f.border3d());
    EXPECT_EQ(f.fontColor(), kBlue);
    f.setMyResolved(true);
    EXPECT_TRUE(f.border3d());
}

struct PutRow {
    const char* name;
    const char* shown;
    double value;
    bool writes;
};

class PutComputed : public testing::TestWithParam<PutRow> {};

TEST_P(PutComputed, ToleranceBoundary) {
    TEditD f("f");
    f.setText(GetParam().shown);
    TEditD* r = PutComputedValue(f, kComputedColor, GetParam().value, 1e-6);
    if (GetParam().writes) {
        EXPECT_EQ(r, &f);
        EXPECT_EQ(f.color(), kComputedColor);
        EXPECT_TRUE(f.readOnly());
        EXPECT_EQ(f.cursor(), Cursor::NoEntry);
        EXPECT_DOUBLE_EQ(f.SIValue(), GetParam().value);
    } else {
        EXPECT_EQ(r, nullptr);
        EXPECT_EQ(f.text(), GetParam().shown);
        EXPECT_EQ(f.color(), kClWindow);
        EXPECT_FALSE(f.readOnly());
        EXPECT_EQ(f.cursor(), Cursor::Default);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, PutComputed,
                         testing::Values(PutRow{"zero_absolute_below", "0", 1e-7, false},
                                         PutRow{"zero_absolute_above", "0", 2e-6, true},
                                         PutRow{"relative_below", "100", 100.00005, false},
                                         PutRow{"relative_above", "100", 100.0002, true},
                                         PutRow{"relative_negative_below", "-100", -100.00005,
                                                false},
                                         PutRow{"empty_always_writes", "", 0.0, true},
                                         PutRow{"blank_counts_as_empty", "   ", 5.0, true},
                                         PutRow{"equal_value_not_written", "42", 42.0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PutComputedValue, EmptyFieldWritesWhateverTheTolerance) {
    TEditD f("f");
    EXPECT_EQ(PutComputedValue(f, kRelationRed, 3.0, 1e9), &f);
    EXPECT_EQ(f.color(), kRelationRed);
}

TEST(PutComputedValue, WordsInTheFieldAreOverwrittenLikeAnEmptyText) {
    TEditD f("f");
    f.setText("abc");
    EXPECT_EQ(PutComputedValue(f, kComputedColor, 1.0, 1e9), &f);
    EXPECT_EQ(f.text(), "1");
}

TEST(ClearComputedField, OnlyChangesWhatNeedsChanging) {
    TEditD f("f");
    EXPECT_EQ(ClearComputedField(f), nullptr);
    f.setColor(kComputedColor);
    f.setReadOnly(true);
    f.setCursor(Cursor::NoEntry);
    EXPECT_EQ(ClearComputedField(f), &f);
    EXPECT_EQ(f.color(), kClWindow);
    EXPECT_FALSE(f.readOnly());
    EXPECT_EQ(f.cursor(), Cursor::Default);
    f.setText("3");
    EXPECT_EQ(ClearComputedField(f), &f);
    EXPECT_EQ(f.text(), "");
}

TEST(FieldsFilled, TakesTextAsItIs) {
    TEditD a("a"), b("b");
    EXPECT_TRUE(FieldsFilled({}));
    a.setText("1");
    EXPECT_FALSE(FieldsFilled({&a, &b}));
    b.setText("  ");
    EXPECT_TRUE(FieldsFilled({&a, &b}));     // blanks count as filled ...
    EXPECT_THROW(b.SIValue(), ConvertError); // ... but do not read
}

TEST(EditD, DisabledFieldStillShowsTheDisplayForm) {
    TEditD f("f");
    f.setText("2.50");
    f.setEnabled(false);
    EXPECT_EQ(f.FloatStr(), "2.5");
}

TEST(EditD, StoredPropertiesByNameAndKind) {
    TEditD f("f");
    EXPECT_EQ(f.kindOf("exchange"), PropertyKind::Float);
    EXPECT_EQ(f.kindOf("Text"), PropertyKind::Text);
    EXPECT_EQ(f.kindOf("Color"), PropertyKind::Integer);
    EXPECT_EQ(f.kindOf("ReadOnly"), PropertyKind::Enumeration);
    EXPECT_EQ(f.kindOf("Caption"), std::nullopt);
    // Exchange before text: the loader's order leaves exactly the stored pair.
    f.setText("7");
    EXPECT_TRUE(f.writeProperty("Exchange", PropertyValue(1000.0)));
    EXPECT_EQ(f.text(), "0.007");
    EXPECT_TRUE(f.writeProperty("Text", PropertyValue(std::string("5"))));
    EXPECT_DOUBLE_EQ(f.SIValue(), 5000);
    EXPECT_FALSE(f.writeProperty("Text", PropertyValue(3.0))); // wrong kind
    EXPECT_TRUE(f.writeProperty("Color", PropertyValue(16707529LL)));
    EXPECT_EQ(f.color(), kComputedColor);
    EXPECT_TRUE(f.writeProperty("enabled", PropertyValue(EnumName{"False"})));
    EXPECT_FALSE(f.enabled());
    EXPECT_THROW(f.writeProperty("ReadOnly", PropertyValue(EnumName{"Maybe"})), ConvertError);
    PropertyValue v;
    ASSERT_TRUE(f.readProperty("ReadOnly", v));
    EXPECT_EQ(std::get<EnumName>(v).name, "False");
}

TEST(UnitItems, FactorAfterTheFirstBar) {
    EXPECT_DOUBLE_EQ(ItemValue(MakeItem("kg/h", "2.7778E-4")), 2.7778e-4);
    EXPECT_DOUBLE_EQ(ItemValue("r/m     |  0.01666666666666666667  "), 1.0 / 60);
    EXPECT_THROW(ItemValue("a|b|2"), ConvertError); // only the first bar counts
    EXPECT_THROW(ItemValue("no bar"), ConvertError);
    // At most 50 characters after the bar are read.
    EXPECT_DOUBLE_EQ(ItemValue("x|" + std::string(48, ' ') + "12345"), 12);
    EXPECT_EQ(ItemLabel(MakeItem("倍外管径", "1")), "倍外管径");
}

} // namespace
} // namespace kolvane
