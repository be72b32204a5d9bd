// The File commands of the main window: new from a template, open, save,
// save as, save as template, exit, and reopening a recent file.

#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "records/FormRecord.h"

#include <filesystem>

namespace kolvane {

namespace {

constexpr const char* kSaveCaption = "保存项目";
constexpr const char* kChangedQuestion = "项目已经改变，保存变化吗？";
constexpr const char* kUnnamedTitleSuffix = "-[无名项目]";

constexpr int kProjectFilterIndex = 1;
constexpr int kTemplateFilterIndex = 2;

FileDialogOptions Dialog(int filterIndex, const char* title, std::string folder) {
    return {title, TFormKolvane::kProjectFilter, filterIndex, "kvp", std::move(folder)};
}

// The title and the recent-files list show full paths, whatever the caller
// handed in.
std::string FullPath(const std::string& path) {
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(path, ec);
    return ec ? path : full.lexically_normal().string();
}

} // namespace

void TFormKolvane::initProjectCommands() {
    auto command = [](const char* name, const char* caption) {
        return MenuItemModel{name, caption, false, ""};
    };
    mfile_.items = {command("MFNew", "&N 新建"),
                    command("MFOpen", "&O 打开"),
                    command("", "-"),
                    command("MFSave", "&S 保存"),
                    command("MFAs", "&A 另存为"),
                    command("MFTemp", "&T 存为模板"),
                    command("", "-"),
                    command("MFExit", "&E 退出")};
    mrf_.setMaxFiles(9);
    mrf_.setShowFullPath(true);
    mrf_.setMenuPosition(6);
    mrf_.setFileExt("kvp");
    mrf_.OnMenuClick = [this](const std::string& file) { MRFMenuClick(file); };
    mrf_.setOwnerMenuItem(&mfile_);
    MFSave().onClick = [this](Component&) { MFSaveClick(); };
    // Opening starts from a new window's state: what a file does not name
    // must not keep the previous project's value.
    freshRecord_ = FormRecordText(form_, false, {});
}

std::string TFormKolvane::ProjectFolder() const {
    if (projectFileName_.empty()) return {};
    return std::filesystem::path(projectFileName_).parent_path().string();
}

std::string TFormKolvane::ProjectTitle(const std::string& path) {
    return std::string(kTitle) + "-[" + path + "]";
}

void TFormKolvane::BeforeNOC() {
    if (!projectChanged_) return;
    if (ui_.question(kSaveCaption, kChangedQuestion, false, Answer::Yes) == Answer::Yes)
        DirectSaveProj();
}

bool TFormKolvane::DirectSaveProj() {
    if (projectFileName_.empty()) {
        std::string path =
            ui_.saveFileDialog(Dialog(kProjectFilterIndex, "新建项目-输入名称", ProjectFolder()));
        if (path.empty()) return false;
        // The name is taken only once the file is written, so a failed save
        // leaves the project unnamed rather than tied to a file that was never
        // a project.
        SaveProjectAs(path);
        return true;
    }
    SaveFormRecord(form_, projectFileName_, false, {});
    setProjectChanged(false);
    return true;
}

void TFormKolvane::SaveProjectAs(const std::string& path) {
    std::string full = FullPath(path);
    SaveFormRecord(form_, full, false, {});
    projectFileName_ = full;
    mrf_.AddFile(full);
    title_ = ProjectTitle(full);
    setProjectChanged(false);
}

void TFormKolvane::SaveTemplate(const std::string& path) const {
    SaveFormRecord(form_, path, false, {kTemplateSkip});
}

void TFormKolvane::MFAsClick() {
    std::string path =
        ui_.saveFileDialog(Dialog(kProjectFilterIndex, "另存为-输入名称", ProjectFolder()));
    if (path.empty()) return;
    SaveProjectAs(path);
}

void TFormKolvane::MFTempClick() {
    std::string path =
        ui_.saveFileDialog(Dialog(kTemplateFilterIndex, "存为模板-输入模板名称", ProjectFolder()));
    if (path.empty()) return;
    SaveTemplate(path);
}

TFormKolvane::Loaded TFormKolvane::loadRecordFile(const std::string& path,
                                                  const char* notValidMessage) {
    // Loading fires the fields' change events; a load that fails is taken
    // back completely, and so is the changed flag.
    bool wasChanged = projectChanged_;
    bool loaded = false;
    FormRecordNotes notes;
    try {
        loaded = LoadFormRecord(form_, path, freshRecord_, &notes);
    } catch (...) {
        setProjectChanged(wasChanged);
        throw;
    }
    if (!loaded) {
        ui_.message(kTitle, notValidMessage + path, MessageKind::Warning);
        return Loaded::No;
    }
    // What the last pass said belongs to the project that was replaced.
    resetPassReport();
    return tellLoadNotes(notes) ? Loaded::Lacking : Loaded::Whole;
}

void TFormKolvane::afterLoad(Loaded loaded) {
    // The tube form's handler runs too, so that a coil shows the coil's
    // captions.
    runOptionHandlers(true);
    // The window holds a new window's values where the file has none: it
    // differs from the file until it is saved.
    setProjectChanged(loaded == Loaded::Lacking);
    passAfterLoad();
}

void TFormKolvane::runOptionHandlers(bool withTubeShape) {
    // Loading sets the option lists without their change events; the
    // handlers bring the enabled fields and captions in line with them.
    PhiDChange(list("PhiD"));
    VNDChange(list("VND"));
    ifMixClick(form_.get<TCheckBox>("ifMix"));
    if (withTubeShape) TShapeDChange(list("TShapeD"));
}

bool TFormKolvane::OpenProjectFile(const std::string& path) {
    std::string full = FullPath(path);
    const Loaded loaded = loadRecordFile(full, "不是有效的Kolvane项目文件:");
    if (loaded == Loaded::No) return false;
    projectFileName_ = full;
    mrf_.AddFile(full);
    title_ = ProjectTitle(full);
    afterLoad(loaded);
    return true;
}

void TFormKolvane::MFNewClick() {
    BeforeNOC();
    std::string path =
        ui_.openFileDialog(Dialog(kTemplateFilterIndex, "新建项目-选择模板", ProjectFolder()));
    if (path.empty()) return;
    const Loaded loaded = loadRecordFile(FullPath(path), "不是有效的Kolvane模板文件:");
    if (loaded == Loaded::No) return;
    projectFileName_.clear();
    title_ = std::string(kTitle) + kUnnamedTitleSuffix;
    afterLoad(loaded);
}

void TFormKolvane::OpenProj() {
    BeforeNOC();
    std::string path =
        ui_.openFileDialog(Dialog(kProjectFilterIndex, "打开项目-选择项目文件", ProjectFolder()));
    // Cancelling changes nothing: the edits stay marked as unsaved.
    if (path.empty()) return;
    OpenProjectFile(path);
}

void TFormKolvane::MFOpenClick() {
    OpenProj();
}

void TFormKolvane::MRFMenuClick(const std::string& fileName) {
    // Reopening replaces the project like Open does, so it offers to save
    // unsaved changes first.
    BeforeNOC();
    std::string full = FullPath(fileName);
    const Loaded loaded = loadRecordFile(full, "不是有效的Kolvane项目文件:");
    if (loaded == Loaded::No) return;
    projectFileName_ = full;
    title_ = ProjectTitle(full);
    afterLoad(loaded);
}

bool TFormKolvane::OpenHandedFile(const std::string& path) {
    BeforeNOC();
    return OpenProjectFile(path);
}

bool TFormKolvane::FormCloseQuery() {
    if (!projectChanged_) return true;
    switch (ui_.question(kSaveCaption, kChangedQuestion, true, Answer::Yes)) {
    case Answer::Yes:
        return DirectSaveProj();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

} // namespace kolvane
