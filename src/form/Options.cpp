// Tube-side phase and tube form: which fields the chosen variant needs, and
// which side of the wall gives off heat.
#include "form/FormKolvane.h"

#include "engine/CalcRules.h"
#include "form/ComboBoxU.h"

#include "model/Balance.h"

namespace kolvane {

namespace {
constexpr const char* kTakesHeat = "吸热流体";
constexpr const char* kGivesHeat = "放热流体";
} // namespace

void TFormKolvane::refreshHeatDirection() {
    // A text that is no number leaves the direction open; the next pass
    // tells the user about the field.
    auto t1 = f(fid::Tom1D).SIValueOrNull(), t2 = f(fid::Tom2D).SIValueOrNull();
    std::optional<bool> tubeTakesHeat;
    if (t1 && t2)
        tubeTakesHeat =
            MediumTakesHeat(*t1, *t2, f(fid::Ti1D).SIValueOrNull(), f(fid::Ti2D).SIValueOrNull());
    options_.htTube->setText(!tubeTakesHeat ? "" : *tubeTakesHeat ? kTakesHeat : kGivesHeat);
    options_.htVessel->setText(!tubeTakesHeat ? "" : *tubeTakesHeat ? kGivesHeat : kTakesHeat);
}

void TFormKolvane::PhiDChange(Component&) {
    setProjectChanged(true);
    bool condensing = options_.phi->itemIndex() == 1;
    enableRow("CipD", !condensing);
    // The steam's pressure gives its saturation temperature.
    for (const char* name : {"LaiD", "DHiD", "denivD", "ViivD", "UivD", "PivD"})
        enableRow(name, condensing);
    form_.get<TButton>("SBP2v").setEnabled(condensing);
    refreshHeatDirection();
}

std::optional<double> TFormKolvane::SteamPressureKPa() const {
    const TEditD& p = f(fid::PivD);
    if (options_.phi->itemIndex() != 1 || !p.enabled()) return std::nullopt;
    const std::optional<double> pa = p.SIValueOrNull();
    if (!pa || InputRuleViolation(fid::PivD, *pa)) return std::nullopt;
    return *pa / 1000;
}

void TFormKolvane::TShapeDChange(Component& sender) {
    form_.get<TLabel>("DspL").setCaption(options_.tshape->itemIndex() == 0 ? "管间距" : "螺距");
    // The count the pass writes into mD: turns of a coil, passes of a U-tube.
    const bool coil = options_.tshape->itemIndex() == 1;
    form_.get<TLabel>("mL").setCaption(coil ? "盘管圈数" : "管程数");
    // Only the label of the one unit changes; its factor and the selection,
    // which a project file stores, stay.
    auto& unit = form_.get<TComboBoxU>("mU");
    const std::string item = MakeItem(coil ? "圈" : "程", "1");
    if (unit.items() != std::vector<std::string>{item}) {
        const int index = unit.itemIndex();
        unit.setItems({item});
        unit.setItemIndex(index);
    }
    MaoDChange(sender);
}

} // namespace kolvane
