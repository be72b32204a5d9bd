#include "records/MruUnit.h"

#include "files/AtomicFile.h"
#include "form/Component.h"
#include "form/UiServices.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace kolvane {

namespace fs = std::filesystem;

namespace {

std::string Trim(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return std::string(s.substr(b, e - b + 1));
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

// The extension of a file name: from its last "." on, when that dot lies in
// the name itself and not in a folder.
std::string ExtensionOf(const std::string& fileName) {
    std::size_t slash = fileName.find_last_of("/\\");
    std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return fileName.substr(dot);
}

std::string BaseNameOf(const std::string& fileName) {
    std::size_t slash = fileName.find_last_of("/\\");
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::vector<std::string> SplitLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t nl = content.find('\n', start);
        if (nl == std::string::npos) nl = content.size();
        std::string line = content.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = nl + 1;
    }
    return lines;
}

// A file name the list can keep: the INI file holds one entry a line, so a
// line break would cut it and the rest would read as another key; other
// control characters are no part of a name the user picked in a dialog.
bool UsableFileName(const std::string& fileName) {
    return !fileName.empty() && !HasControlCharacter(fileName);
}

// A list file is a small text; anything else is not one we wrote.
constexpr std::uintmax_t kMaxIniBytes = 1 << 20;

bool LooksLikeText(const std::string& content) {
    return content.size() <= kMaxIniBytes && content.find('\0') == std::string::npos;
}

// Blanks at either end, or enclosing quotes, would be taken off on reading;
// quoted, the value comes back as it was.
std::string IniValue(const std::string& value) {
    bool quote =
        value != Trim(value) || (value.size() >= 2 && value.front() == '"' && value.back() == '"');
    return quote ? "\"" + value + "\"" : value;
}

// "[name]" gives name; anything else gives nothing. A file saved by an
// editor that starts it with a UTF-8 byte-order mark has it before its first
// section: without taking it off, the list would read empty and the next
// store would add a second section beside the first.
std::optional<std::string> SectionName(const std::string& line) {
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    std::string_view l = line;
    if (l.starts_with(kBom)) l.remove_prefix(kBom.size());
    std::string t = Trim(l);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
    return Trim(std::string_view(t).substr(1, t.size() - 2));
}

} // namespace

std::vector<std::pair<std::string, std::string>> ReadIniSection(const std::string& content,
                                                                const std::string& section) {
    std::vector<std::pair<std::string, std::string>> out;
    bool inside = false;
    for (const std::string& line : SplitLines(content)) {
        if (auto name = SectionName(line)) {
            inside = EqualsIgnoreAsciiCase(*name, section);
            continue;
        }
        if (!inside) continue;
        std::string t = Trim(line);
        if (t.empty() || t[0] == ';' || t[0] == '#') continue;
        std::size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        std::string value = Trim(std::string_view(t).substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        out.emplace_back(Trim(std::string_view(t).substr(0, eq)), std::move(value));
    }
    return out;
}

std::string ReplaceIniSection(const std::string& content, const std::string& section,
                              const std::vector<std::pair<std::string, std::string>>& keys) {
    auto writeSection = [&](std::string& out) {
        out += "[" + section + "]\n";
        for (const auto& [k, v] : keys)
            out += k + "=" + v + "\n";
    };
    std::string out;
    bool inside = false, written = false;
    for (const std::string& line : SplitLines(content)) {
        if (auto name = SectionName(line)) {
            inside = EqualsIgnoreAsciiCase(*name, section);
            if (inside) {
                if (!written) writeSection(out);
                written = true;
                continue;
            }
        }
        if (!inside) out += line + "\n";
    }
    if (!written) {
        if (!out.empty() && out != "\n" && out.substr(out.size() - 2) != "\n\n") out += "\n";
        writeSection(out);
    }
    return out;
}

std::string MruIniLocation(const std::string& programDir, const std::string& programName,
                           const char* xdgConfigHome, const char* home, const char* settingsDir) {
    std::string file = programName + ".ini";
    if (settingsDir && *settingsDir == '/') return (fs::path(settingsDir) / file).string();
    if (!programDir.empty() && ::access(programDir.c_str(), W_OK) == 0)
        return (fs::path(programDir) / file).string();
    if (xdgConfigHome && *xdgConfigHome == '/')
        return (fs::path(xdgConfigHome) / "Kolvane" / file).string();
    if (home && *home) return (fs::path(home) / ".config" / "Kolvane" / file).string();
    return (fs::path(programDir.empty() ? "." : programDir) / file).string();
}

TMostRecentFiles::TMostRecentFiles(UiServices* ui, std::string appTitle)
    : ui_(ui), appTitle_(std::move(appTitle)) {}

void TMostRecentFiles::setMaxFiles(unsigned v) {
    if (v == maxFiles_) return;
    maxFiles_ = v == 0 ? 1 : std::min(v, 15u);
    RebuildMenu();
}

void TMostRecentFiles::setShowFullPath(bool on) {
    if (on == showFullPath_) return;
    showFullPath_ = on;
    RebuildMenu();
}

void TMostRecentFiles::setOwnerMenuItem(MenuModel* menu) {
    owner_ = menu;
    RebuildMenu();
}

void TMostRecentFiles::setIniFile(std::string path) {
    iniFile_ = std::move(path);
    LoadList();
}

bool TMostRecentFiles::extensionAccepted(const std::string& fileName) const {
    std::string ext = Trim(fileExt_);
    if (ext.empty() || ext == "*.*") return true;
    if (ext.find('.') == std::string::npos) ext = "." + ext;
    return UpperAscii(ext) == UpperAscii(ExtensionOf(fileName));
}

void TMostRecentFiles::AddFile(const std::string& fileName) {
    if (!UsableFileName(fileName)) return;
    if (!extensionAccepted(fileName)) return;
    if (!owner_) return;
    auto same = [&](const std::string& f) { return EqualsIgnoreAsciiCase(f, fileName); };
    auto it = std::find_if(files_.begin(), files_.end(), same);
    if (it == files_.begin() && it != files_.end()) return;
    if (it != files_.end()) files_.erase(it);
    files_.insert(files_.begin(), fileName);
    while (files_.size() > maxFiles_)
        files_.erase(files_.begin() + maxFiles_);
    changed();
}

void TMostRecentFiles::MenuItemClick(std::size_t menuIndex) {
    if (!owner_ || !OnMenuClick) return;
    auto& items = owner_->items;
    if (menuIndex >= items.size()) return;
    auto first =
        std::find_if(items.begin(), items.end(), [](const MenuItemModel& m) { return m.tagged; });
    if (first == items.end()) return;
    long long index = static_cast<long long>(menuIndex) - (first - items.begin()) -
                      (first->isSeparator() ? 1 : 0);
    if (index < 0 || index >= static_cast<long long>(files_.size())) return;
    std::string file = files_[static_cast<std::size_t>(index)];

    std::error_code ec;
    if (fs::exists(file, ec)) {
        if (index != 0) {
            files_.erase(files_.begin() + index);
            files_.insert(files_.begin(), file);
            changed();
        }
        OnMenuClick(file);
        return;
    }
    if (OnFileNotExist)
        OnFileNotExist(file);
    else if (ui_)
        ui_->message(appTitle_, "文件\n\"" + file + "\"\n已不存在，已从最近使用的文件列表中删除。",
                     MessageKind::Information);
    files_.erase(files_.begin() + index);
    changed();
}

std::string TMostRecentFiles::EntryCaption(std::size_t index, const std::string& fileName) const {
    char key[8];
    std::snprintf(key, sizeof key, "&%X  ", static_cast<unsigned>(index + 1));
    return key + (showFullPath_ ? fileName : BaseNameOf(fileName));
}

void TMostRecentFiles::RebuildMenu() {
    if (!owner_) return;
    auto& items = owner_->items;
    std::erase_if(items, [](const MenuItemModel& m) { return m.tagged; });
    if (!files_.empty()) {
        std::size_t p = std::min<std::size_t>(menuPosition_, items.size());
        auto separator = [] { return MenuItemModel{"", "-", true, ""}; };
        if (p > 0 && !items[p - 1].isSeparator()) items.insert(items.begin() + p++, separator());
        for (std::size_t i = 0; i < files_.size(); ++i)
            items.insert(items.begin() + p++,
                         MenuItemModel{"", EntryCaption(i, files_[i]), true, files_[i]});
        if (p < items.size() && !items[p].isSeparator())
            items.insert(items.begin() + p, separator());
    }
    if (onMenuChanged) onMenuChanged();
}

void TMostRecentFiles::LoadList() {
    files_.clear();
    if (!iniFile_.empty()) {
        std::string problem;
        try {
            // The size first, so that a huge file is not read into memory;
            // for anything but a regular file ReadWholeFile tells what it is.
            std::error_code ec;
            std::uintmax_t size = fs::file_size(iniFile_, ec);
            if (!ec && size > kMaxIniBytes) {
                problem = iniFile_ + " 已损坏（文件太大）";
            } else if (auto content = ReadWholeFile(iniFile_)) {
                if (LooksLikeText(*content))
                    readEntries(*content);
                else
                    problem = iniFile_ + " 已损坏（不是文本文件）";
            }
        } catch (const std::exception& e) {
            problem = e.what();
        }
        if (!problem.empty()) {
            // The list is a convenience: the program goes on with an empty
            // one, and the user learns why the entries are gone.
            files_.clear();
            if (ui_) ui_->statusText(1, "最近文件列表无法使用，从空列表开始：" + problem);
        }
    }
    RebuildMenu();
}

void TMostRecentFiles::readEntries(const std::string& content) {
    auto keys = ReadIniSection(content, kSection);
    for (unsigned n = 1; n <= maxFiles_; ++n) {
        auto it = std::find_if(keys.begin(), keys.end(),
                               [&](const auto& kv) { return kv.first == std::to_string(n); });
        if (it == keys.end() || it->second.empty()) break;
        const std::string& file = it->second;
        // An entry edited by hand into something that is no file name, or
        // listed twice, is left out; the ones after it still count.
        if (!UsableFileName(file)) continue;
        if (std::any_of(files_.begin(), files_.end(),
                        [&](const std::string& f) { return EqualsIgnoreAsciiCase(f, file); }))
            continue;
        files_.push_back(file);
    }
}

void TMostRecentFiles::StoreList() const {
    if (iniFile_.empty()) return;
    try {
        std::vector<std::pair<std::string, std::string>> keys;
        for (unsigned n = 1; n <= maxFiles_; ++n)
            keys.emplace_back(std::to_string(n), n <= files_.size() ? IniValue(files_[n - 1]) : "");
        std::string content = ReadWholeFile(iniFile_).value_or("");
        // A damaged file was reported when it was read; what is written now
        // replaces it instead of carrying the damage along.
        if (!LooksLikeText(content)) content.clear();
        fs::path dir = fs::path(iniFile_).parent_path();
        if (!dir.empty()) fs::create_directories(dir);
        WriteFileAtomically(iniFile_, ReplaceIniSection(content, kSection, keys));
    } catch (const std::exception&) {
        // The list is a convenience: failing to keep it must not stop the
        // command that changed it.
    }
}

void TMostRecentFiles::changed() {
    RebuildMenu();
    StoreList();
}

} // namespace kolvane
