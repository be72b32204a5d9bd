#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kolvane {

class UiServices;

// A menu as data: the core decides which entries a menu holds, the GUI turns
// them into real menu actions. A caption of "-" is a separator.
struct MenuItemModel {
    std::string name;    // the command's name ("MFNew"); empty for recent-file entries
    std::string caption; // "&1  /home/user/tank.kvp"
    bool tagged = false; // made by the recent-files list
    std::string file;    // the file a recent-file entry opens
    bool isSeparator() const { return caption == "-"; }
    bool operator==(const MenuItemModel&) const = default;
};

struct MenuModel {
    std::vector<MenuItemModel> items;
};

// The recent-files list: the most recent file first, no duplicates (letter
// case ignored), shown as numbered entries inside an owner menu and kept in
// an INI file, section "MRU List", keys "1", "2", ...
class TMostRecentFiles {
public:
    // Marks the entries and separators this list puts into a menu.
    static constexpr std::int32_t kTag = 0x0BAD1DEA;
    static constexpr const char* kSection = "MRU List";

    using MenuEvent = std::function<void(const std::string& fileName)>;

    // `ui` shows the message for a vanished file; `appTitle` is its caption.
    explicit TMostRecentFiles(UiServices* ui = nullptr, std::string appTitle = "Kolvane");
    TMostRecentFiles(const TMostRecentFiles&) = delete;
    TMostRecentFiles& operator=(const TMostRecentFiles&) = delete;

    unsigned MaxFiles() const { return maxFiles_; }
    // 0 becomes 1 and anything above 15 becomes 15; the list itself is cut
    // at the next AddFile.
    void setMaxFiles(unsigned v);
    bool ShowFullPath() const { return showFullPath_; }
    void setShowFullPath(bool on);
    MenuModel* OwnerMenuItem() const { return owner_; }
    void setOwnerMenuItem(MenuModel* menu);
    unsigned MenuPosition() const { return menuPosition_; }
    void setMenuPosition(unsigned p) { menuPosition_ = p; }
    // The only extension AddFile accepts ("kvp" or ".kvp"); empty or "*.*"
    // accepts every file.
    const std::string& FileExt() const { return fileExt_; }
    void setFileExt(std::string ext) { fileExt_ = std::move(ext); }

    // The INI file that keeps the list (a full path), which is read at once.
    // Empty keeps the list in memory only.
    const std::string& IniFile() const { return iniFile_; }
    void setIniFile(std::string path);

    MenuEvent OnMenuClick;
    MenuEvent OnFileNotExist;
    // Called after the owner menu was rebuilt, so that a view can follow.
    std::function<void()> onMenuChanged;

    const std::vector<std::string>& files() const { return files_; }

    // Puts a file at the top of the list (see FileExt), drops the oldest
    // beyond MaxFiles, rebuilds the menu and stores the list. A name that
    // the INI file could not give back (empty, or holding a line break, a
    // NUL or another control character) is not listed.
    void AddFile(const std::string& fileName);
    // The user chose the owner menu's item at `menuIndex`: an existing file
    // moves to the top and OnMenuClick runs; a vanished file is reported and
    // dropped.
    void MenuItemClick(std::size_t menuIndex);

    // Reads the list from the INI file. A missing file gives an empty list;
    // a damaged or unreadable one too, and says so in the status bar.
    // Entries that are no usable file name, and repeated ones, are left out.
    void LoadList();
    // Writes keys 1 to MaxFiles; errors are ignored, the list stays in memory.
    void StoreList() const;
    void RebuildMenu();

    // The caption of entry `index` (from 0): "&1  " ... "&9  ", "&A  " ... "&F  ".
    std::string EntryCaption(std::size_t index, const std::string& fileName) const;

private:
    void changed(); // rebuild and store
    bool extensionAccepted(const std::string& fileName) const;
    void readEntries(const std::string& iniContent);

    UiServices* ui_;
    std::string appTitle_;
    unsigned maxFiles_ = 9;
    bool showFullPath_ = false;
    MenuModel* owner_ = nullptr;
    unsigned menuPosition_ = 0;
    std::string fileExt_;
    std::string iniFile_;
    std::vector<std::string> files_;
};

// Where the main window keeps its list: the INI file named after the program
// (`programName` + ".ini") in `settingsDir` when that is an absolute path
// ($KOLVANE_SETTINGS_DIR: the tests' own folder, so that they never write the
// user's list), else in the program's folder when that folder is writable,
// otherwise in $XDG_CONFIG_HOME/Kolvane/ (or ~/.config/Kolvane/). The
// environment values are passed in so that tests can choose them.
std::string MruIniLocation(const std::string& programDir, const std::string& programName,
                           const char* xdgConfigHome, const char* home,
                           const char* settingsDir = nullptr);

// A small INI file: read one section's keys, replace one section.
std::vector<std::pair<std::string, std::string>> ReadIniSection(const std::string& content,
                                                                const std::string& section);
std::string ReplaceIniSection(const std::string& content, const std::string& section,
                              const std::vector<std::pair<std::string, std::string>>& keys);

} // namespace kolvane
