// The File commands of the main window: new from a template, open, save,
// save as, save as template, exit, and reopening a recent file.

#include "form/ProjectCommands.h"

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

ProjectCommands::ProjectCommands(TFormKolvane& window)
    : w_(window), mrf_(&window.ui(), "Kolvane"), title_(TFormKolvane::kTitle) {}

void ProjectCommands::bind() {
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
    mrf_.OnMenuClick = [this](const std::string& file) { w_.MRFMenuClick(file); };
    mrf_.setOwnerMenuItem(&mfile_);
    w_.MFSave().onClick = [this](Component&) { w_.MFSaveClick(); };
    // Opening starts from a new window's state: what a file does not name
    // must not keep the previous project's value.
    freshRecord_ = FormRecordText(w_.form(), false, {});
}

std::string ProjectCommands::folder() const {
    if (fileName_.empty()) return {};
    return std::filesystem::path(fileName_).parent_path().string();
}

void ProjectCommands::offerSave() {
    if (!w_.ProjectChanged()) return;
    if (w_.ui().question(kSaveCaption, kChangedQuestion, false, Answer::Yes) == Answer::Yes) save();
}

bool ProjectCommands::save() {
    if (fileName_.empty()) {
        std::string path =
            w_.ui().saveFileDialog(Dialog(kProjectFilterIndex, "新建项目-输入名称", folder()));
        if (path.empty()) return false;
        // The name is taken only once the file is written, so a failed save
        // leaves the project unnamed rather than tied to a file that was never
        // a project.
        saveFileAs(path);
        return true;
    }
    SaveFormRecord(w_.form(), fileName_, false, {});
    w_.setProjectChanged(false);
    return true;
}

void ProjectCommands::saveFileAs(const std::string& path) {
    std::string full = FullPath(path);
    SaveFormRecord(w_.form(), full, false, {});
    fileName_ = full;
    mrf_.AddFile(full);
    title_ = TFormKolvane::ProjectTitle(full);
    w_.setProjectChanged(false);
}

void ProjectCommands::saveTemplateFile(const std::string& path) const {
    SaveFormRecord(w_.form(), path, false, {TFormKolvane::kTemplateSkip});
}

void ProjectCommands::saveAs() {
    std::string path =
        w_.ui().saveFileDialog(Dialog(kProjectFilterIndex, "另存为-输入名称", folder()));
    if (path.empty()) return;
    saveFileAs(path);
}

void ProjectCommands::saveAsTemplate() {
    std::string path =
        w_.ui().saveFileDialog(Dialog(kTemplateFilterIndex, "存为模板-输入模板名称", folder()));
    if (path.empty()) return;
    saveTemplateFile(path);
}

ProjectCommands::Loaded ProjectCommands::loadRecordFile(const std::string& path,
                                                        const char* notValidMessage) {
    // Loading fires the fields' change events; a load that fails is taken
    // back completely, and so is the changed flag.
    bool wasChanged = w_.ProjectChanged();
    bool loaded = false;
    FormRecordNotes notes;
    try {
        loaded = LoadFormRecord(w_.form(), path, freshRecord_, &notes);
    } catch (...) {
        w_.setProjectChanged(wasChanged);
        throw;
    }
    if (!loaded) {
        w_.ui().message(TFormKolvane::kTitle, notValidMessage + path, MessageKind::Warning);
        return Loaded::No;
    }
    // What the last pass said belongs to the project that was replaced.
    w_.pass().reset();
    return tellLoadNotes(notes) ? Loaded::Lacking : Loaded::Whole;
}

void ProjectCommands::afterLoad(Loaded loaded) {
    // The tube form's handler runs too, so that a coil shows the coil's
    // captions.
    runOptionHandlers(true);
    // The window holds a new window's values where the file has none: it
    // differs from the file until it is saved.
    w_.setProjectChanged(loaded == Loaded::Lacking);
    // Studies belong to the calculation they were made on.
    w_.studies() = {};
    w_.pass().afterLoad();
}

void ProjectCommands::runOptionHandlers(bool withTubeShape) {
    // Loading sets the option lists without their change events; the
    // handlers bring the enabled fields and captions in line with them.
    w_.PhiDChange(w_.list("PhiD"));
    w_.VNDChange(w_.list("VND"));
    w_.ifMixClick(w_.form().get<TCheckBox>("ifMix"));
    if (withTubeShape) w_.TShapeDChange(w_.list("TShapeD"));
}

bool ProjectCommands::openFile(const std::string& path) {
    std::string full = FullPath(path);
    const Loaded loaded = loadRecordFile(full, "不是有效的Kolvane项目文件:");
    if (loaded == Loaded::No) return false;
    fileName_ = full;
    mrf_.AddFile(full);
    title_ = TFormKolvane::ProjectTitle(full);
    afterLoad(loaded);
    return true;
}

void ProjectCommands::newFromTemplate() {
    offerSave();
    std::string path =
        w_.ui().openFileDialog(Dialog(kTemplateFilterIndex, "新建项目-选择模板", folder()));
    if (path.empty()) return;
    const Loaded loaded = loadRecordFile(FullPath(path), "不是有效的Kolvane模板文件:");
    if (loaded == Loaded::No) return;
    fileName_.clear();
    title_ = std::string(TFormKolvane::kTitle) + kUnnamedTitleSuffix;
    afterLoad(loaded);
}

void ProjectCommands::open() {
    offerSave();
    std::string path =
        w_.ui().openFileDialog(Dialog(kProjectFilterIndex, "打开项目-选择项目文件", folder()));
    // Cancelling changes nothing: the edits stay marked as unsaved.
    if (path.empty()) return;
    openFile(path);
}

void ProjectCommands::reopen(const std::string& fileName) {
    // Reopening replaces the project like Open does, so it offers to save
    // unsaved changes first.
    offerSave();
    std::string full = FullPath(fileName);
    const Loaded loaded = loadRecordFile(full, "不是有效的Kolvane项目文件:");
    if (loaded == Loaded::No) return;
    fileName_ = full;
    title_ = TFormKolvane::ProjectTitle(full);
    afterLoad(loaded);
}

bool ProjectCommands::openHanded(const std::string& path) {
    offerSave();
    return openFile(path);
}

bool ProjectCommands::closeQuery() {
    if (!w_.ProjectChanged()) return true;
    switch (w_.ui().question(kSaveCaption, kChangedQuestion, true, Answer::Yes)) {
    case Answer::Yes:
        return save();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

} // namespace kolvane
