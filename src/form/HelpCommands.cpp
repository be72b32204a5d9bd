// The help commands: which manual bookmark a help call jumps to.
#include "form/FormKolvane.h"

#include "form/UiServices.h"

#include <filesystem>
#include <system_error>

namespace kolvane {

std::string TFormKolvane::HelpTopicOf(const Component* control) {
    const auto* field = dynamic_cast<const TEditD*>(control);
    if (!field) return {};
    // The manual's headings are the captions; the bookmark titles end in a blank.
    std::string caption = field->caption();
    if (caption.empty()) return {};
    return caption + " ";
}

std::string TFormKolvane::ManualPath() const {
    return (std::filesystem::path(programDir_) / kManualFile).string();
}

void TFormKolvane::MHPDFClick() {
    helpTopic_ = kUsageTopic;
    ShowManual();
}

void TFormKolvane::SBHPDFClick(const Component* focused) {
    std::string topic = HelpTopicOf(focused);
    if (topic.empty()) return;
    helpTopic_ = std::move(topic);
    ShowManual();
}

void TFormKolvane::MaoDKeyDown(const Component& sender, int key) {
    if (key != kKeyF1) return;
    SBHPDFClick(&sender);
}

void TFormKolvane::ShowManual() {
    const std::string path = ManualPath();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        ui_.message("Kolvane 帮助", "没有找到帮助文档：" + path, MessageKind::Error);
        return;
    }
    ui_.showManual(path, helpTopic_);
}

} // namespace kolvane
