// The shipped property library: every fluid gives every property it has,
// at 20 C and 100 kPa, within what the property can physically be.
#include "TempDir.h"

#include "formula/MyValues.h"
#include "formula/NumberFormat.h"
#include "model/Errors.h"
#include "props/PropFormulas.h"
#include "props/PropLib.h"
#include "props/ValidityRange.h"

#include <gtest/gtest.h>

#include <set>

namespace kolvane {
namespace {

struct Bounds {
    const char* name;
    double lo, hi;
};

// Wide physical bounds in SI: a value outside is a wrong text or unit.
constexpr Bounds kBounds[] = {
    {"CP", 500, 10000}, // J/(kg.K): gases about 1000, water 4180, ammonia 4700
    {"MD", 0.05, 2500}, // kg/m3: gases about 1, brines and glycerol about 1300
    {"VI", 5e-6, 3},    // Pa.s: gases 1e-5, glycerol 1.4
    {"TC", 0.005, 1},   // W/(m.K): gases 0.02, water 0.6
    {"ST", 0.005, 0.1}, // N/m: hydrocarbons 0.02, water 0.073
    {"HV", 1e5, 3e6},   // J/kg: solvents 3e5 to 1e6, water 2.45e6
};

TEST(ShippedLibrary, EveryFluidGivesSoundValues) {
    const std::vector<PropertyRecord> records = LoadPropLib(KOLVANE_PROPLIB_DB);
    ASSERT_GE(records.size(), 25u);
    std::set<std::string> numbers;
    for (const PropertyRecord& r : records) {
        EXPECT_TRUE(numbers.insert(r.NO).second) << "duplicate NO " << r.NO;
        EXPECT_EQ(CheckPropertyRecord(r), "") << r.NO;
        const std::optional<ValidityRange> range = ParseValidityRange(r.NT);
        EXPECT_TRUE(range) << r.NO << " states no range: " << r.NT;
        const bool liquid = r.CN.find("液") != std::string::npos;
        for (const Bounds& b : kBounds) {
            const std::string& text = r.*FindPropertyField(b.name)->member;
            if (text.empty()) continue;
            TMyValues grid;
            grid.AddParam("t", "20", "C", "温度");
            grid.AddParam("p", "100", "kPa", "压力");
            const PropertyResult res = EvaluatePropertyText(
                text, b.name == std::string("CP") ? "Cp" : b.name, liquid, grid);
            ASSERT_EQ(res.kind, PropertyResult::Value)
                << r.NO << " " << r.CN << " " << b.name << ": " << res.message;
            EXPECT_GE(res.value, b.lo) << r.NO << " " << r.CN << " " << b.name;
            EXPECT_LE(res.value, b.hi) << r.NO << " " << r.CN << " " << b.name;
        }
    }
}

TEST(ShippedLibrary, WaterAndSteamFollowTheSteamTables) {
    const std::vector<PropertyRecord> records = LoadPropLib(KOLVANE_PROPLIB_DB);
    const PropertyRecord* steam = nullptr;
    for (const PropertyRecord& r : records)
        if (r.CN == "饱和水蒸气") steam = &r;
    ASSERT_NE(steam, nullptr);
    TMyValues grid;
    grid.AddParam("t", "20", "C", "温度");
    grid.AddParam("p", "300", "kPa", "压力");
    // 300 kPa(abs): 133.5 C, steam 1.651 kg/m3, condensate 931.8 kg/m3, 2163 kJ/kg.
    EXPECT_NEAR(EvaluatePropertyText(steam->MD, "MD", false, grid, true).value, 1.651, 0.005);
    EXPECT_NEAR(EvaluatePropertyText(steam->MD, "MD", false, grid, false).value, 931.8, 0.5);
    EXPECT_NEAR(EvaluatePropertyText(steam->HV, "HV", false, grid).value, 2163.4e3, 1e3);
    // The stated range is where the saturation line is computed: both ends evaluate.
    const std::optional<ValidityRange> range = ParseValidityRange(steam->NT);
    ASSERT_TRUE(range && range->pMin && range->pMax);
    for (double p : {*range->pMin, *range->pMax}) {
        grid.SetValueByName("p", FloatToStr15(p));
        const PropertyResult at = EvaluatePropertyText(steam->MD, "MD", false, grid, true);
        EXPECT_EQ(at.kind, PropertyResult::Value) << p << " kPa: " << at.message;
    }
}

// What is no library file is refused at once and named, never read as an
// empty or a shorter library; a save leaves it as it was.
TEST(LibraryFile, WhatIsNoLibraryIsRefusedAndNamed) {
    for (const auto& [kind, says] : testing_support::kNoDataFiles) {
        testing_support::TempDir dir;
        const std::string path = dir.file("PropLib.db");
        testing_support::MakeNoDataFile(kind, path, KOLVANE_PROPLIB_DB);
        testing_support::Deadline deadline(10);
        try {
            LoadPropLib(path);
            ADD_FAILURE() << kind << " was loaded";
        } catch (const IoError& e) {
            EXPECT_EQ(e.what(), "物性库文件" + path + says);
        }
        if (kind != std::string("fifo") && kind != std::string("folder")) continue;
        EXPECT_THROW(SavePropLib(path, LoadPropLib(KOLVANE_PROPLIB_DB)), IoError) << kind;
        EXPECT_EQ(std::filesystem::is_directory(path), kind == std::string("folder"));
        EXPECT_EQ(std::filesystem::is_fifo(path), kind == std::string("fifo"));
    }
}

} // namespace
} // namespace kolvane
