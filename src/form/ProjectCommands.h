#pragma once

#include "records/MruUnit.h"

#include <string>

namespace kolvane {

class TFormKolvane;
struct FormRecordNotes;

// The File commands of the main window and the project they keep: its file
// name, the title naming it, the File menu with the recent-files list, and
// what the latest load had to tell. The window owns one and its handlers
// (MFSaveClick, MFOpenClick …) forward to it.
class ProjectCommands {
public:
    explicit ProjectCommands(TFormKolvane& window);
    ProjectCommands(const ProjectCommands&) = delete;
    ProjectCommands& operator=(const ProjectCommands&) = delete;

    // The File menu, the recent-files list and the new window's record;
    // once the window's form is built.
    void bind();

    TMostRecentFiles& recentFiles() { return mrf_; }
    const MenuModel& menu() const { return mfile_; }
    const std::string& fileName() const { return fileName_; }
    void setFileName(std::string path) { fileName_ = std::move(path); }
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    std::string folder() const;
    const std::string& loadNotice() const { return loadNotice_; }
    void repeatLoadNotice();

    void offerSave();
    bool save();
    void saveAs();
    void saveAsTemplate();
    void newFromTemplate();
    void open();
    void reopen(const std::string& fileName);
    bool openHanded(const std::string& path);
    bool closeQuery();

    bool openFile(const std::string& path);
    void saveFileAs(const std::string& path);
    void saveTemplateFile(const std::string& path) const;

private:
    // How a load ended: refused, whole, or with a new window's values where
    // the file lacks records (the window then differs from its file).
    enum class Loaded { No, Whole, Lacking };
    Loaded loadRecordFile(const std::string& path, const char* notValidMessage);
    // What every load that replaced the project does next: the option
    // handlers, the changed flag, and the pass.
    void afterLoad(Loaded loaded);
    // Tells what a successful load skipped or filled in (LoadNotes.cpp);
    // true when the file lacked records.
    bool tellLoadNotes(const FormRecordNotes& notes);
    void runOptionHandlers(bool withTubeShape);

    TFormKolvane& w_;
    // The File menu as data and the recent-files list inside it.
    MenuModel mfile_;
    TMostRecentFiles mrf_;
    std::string title_;
    std::string fileName_;
    std::string loadNotice_;
    // The record text of the window as it was built: a load applies it first.
    std::string freshRecord_;
};

} // namespace kolvane
