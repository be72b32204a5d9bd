// Tube-side phase and tube form: which fields the chosen variant needs, and
// which side of the wall gives off heat.
#include "engine/FormKolvane.h"

#include <algorithm>

namespace kolvane {

namespace {
constexpr const char* kTakesHeat = "吸热流体";
constexpr const char* kGivesHeat = "放热流体";
} // namespace

void TFormKolvane::refreshHeatDirection(bool clearWhenIncomplete) {
    if (!FieldsFilled({&f(fid::Tom1D), &f(fid::Tom2D), &f(fid::Ti1D), &f(fid::Ti2D)})) {
        if (clearWhenIncomplete) {
            htTube_->setText("");
            htVessel_->setText("");
        }
        return;
    }
    double vessel = std::max(f(fid::Tom1D).SIValue(), f(fid::Tom2D).SIValue());
    double tube = std::min(f(fid::Ti1D).SIValue(), f(fid::Ti2D).SIValue());
    bool tubeTakesHeat = vessel >= tube;
    htTube_->setText(tubeTakesHeat ? kTakesHeat : kGivesHeat);
    htVessel_->setText(tubeTakesHeat ? kGivesHeat : kTakesHeat);
}

void TFormKolvane::PhiDChange(Component&) {
    setProjectChanged(true);
    bool condensing = phi_->itemIndex() == 1;
    enableRow("CipD", !condensing);
    for (const char* name : {"LaiD", "DHiD", "denivD", "ViivD", "UivD"})
        enableRow(name, condensing);
    form_.get<TButton>("SBP2v").setEnabled(condensing);
    refreshHeatDirection(true);
}

void TFormKolvane::TShapeDChange(Component& sender) {
    form_.get<TLabel>("DspL").setCaption(tshape_->itemIndex() == 0 ? "管间距" : "螺距");
    MaoDChange(sender);
}

} // namespace kolvane
