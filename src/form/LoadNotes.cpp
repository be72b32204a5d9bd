// What a load of a project or template tells besides the records it applied:
// records this window does not know, and records the file lacks.

#include "engine/CalcRules.h"
#include "form/FormKolvane.h"
#include "form/ProjectCommands.h"
#include "form/UiServices.h"
#include "records/FormRecord.h"

#include <unordered_set>

namespace kolvane {

namespace {

// A list for a message; a long one is cut after `most` items, so that a file
// that names nothing still gives a message box that fits on the screen.
std::string Listed(const std::vector<std::string>& items, std::size_t most = 20) {
    std::string out;
    for (std::size_t i = 0; i < items.size() && i < most; ++i)
        out += (i ? "、" : "") + items[i];
    if (items.size() > most) out += "等共" + std::to_string(items.size()) + "项";
    return out;
}

// The side a group box belongs to, as field captions name it.
std::string SideOf(const Component& c) {
    for (const Component* p = c.parent(); p; p = p->parent()) {
        auto* box = dynamic_cast<const TContainer*>(p);
        if (!box) continue;
        if (box->caption() == "容器物性及热量平衡") return "（容器）";
        if (box->caption() == "管程物性及热量平衡") return "（管程）";
        return "（" + box->caption() + "）";
    }
    return {};
}

} // namespace

std::string TFormKolvane::CaptionOf(const Component& c) const {
    if (auto* e = dynamic_cast<const TEditD*>(&c)) {
        const FieldRow* row = FindField(e->name());
        const std::string caption = e->caption();
        if (!row || caption.empty()) return c.name();
        return QualifiedCaption(static_cast<fid::FieldId>(row - FieldTable().data()), caption);
    }
    if (auto* unit = dynamic_cast<const TComboBoxU*>(&c); unit && unit->Associated())
        return CaptionOf(*unit->Associated()) + "的单位";
    std::string caption;
    if (auto* box = dynamic_cast<const TCheckBox*>(&c))
        caption = box->caption();
    else if (auto* label = form_.findAs<TLabel>(LabelName(c.name())))
        caption = label->caption();
    if (caption.empty()) return c.name();
    // Both sides have a fluid type, a phase, comments: say which side.
    for (const auto& other : form_.components()) {
        auto* label = dynamic_cast<const TLabel*>(other.get());
        if (label && label->caption() == caption &&
            !EqualsIgnoreAsciiCase(label->name(), LabelName(c.name())))
            return caption + SideOf(c);
    }
    return caption;
}

bool ProjectCommands::tellLoadNotes(const FormRecordNotes& notes) {
    loadNotice_.clear();
    if (!notes.unknown.empty()) {
        // Records of a newer program or another window: skipped, as the
        // format intends, but never silently.
        loadNotice_ = "文件中有本程序不认识的项：" + Listed(notes.unknown);
        w_.pass().showStatus(loadNotice_);
    }

    // A template has no report; every other record a new window writes is
    // in every file this program writes.
    std::unordered_set<const Component*> lacking;
    for (const std::string& name : notes.lacking)
        if (!EqualsIgnoreAsciiCase(name, TFormKolvane::kTemplateSkip))
            if (const Component* c = w_.form().find(name)) lacking.insert(c);
    if (lacking.empty()) return false;

    // The captions as the window shows them once the loaded options are in
    // force (the tube form names the pitch).
    runOptionHandlers(true);
    std::vector<std::string> captions;
    for (const auto& owned : w_.form().components()) {
        const Component* c = owned.get();
        if (!lacking.count(c)) continue;
        // A unit selector goes with its field's row.
        if (auto* unit = dynamic_cast<const TComboBoxU*>(c);
            unit && lacking.count(unit->Associated()))
            continue;
        captions.push_back(w_.CaptionOf(*c));
    }
    w_.ui().message(TFormKolvane::kTitle,
                    "文件中缺少以下字段的记录：" + Listed(captions) + "；已按新项目的默认值",
                    MessageKind::Warning);
    return true;
}

void ProjectCommands::repeatLoadNotice() {
    if (loadNotice_.empty()) return;
    const std::string pass = w_.lastPass().statusText();
    w_.pass().showStatus(pass.empty() ? loadNotice_ : loadNotice_ + "；" + pass);
}

} // namespace kolvane
