#include "records/FormRecord.h"

#include "engine/ComboBoxU.h"
#include "engine/Controls.h"
#include "engine/EditD.h"
#include "engine/Form.h"
#include "engine/ListControls.h"
#include "engine/NumberFormat.h"
#include "records/AtomicFile.h"
#include "records/TextCodec.h"

#include <charconv>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>

namespace kolvane {

namespace {

constexpr std::string_view kLineStart = "△"; // GBK A1 F7
constexpr std::string_view kSeparator = "▲"; // GBK A1 F8
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Limits far above anything the program writes (a project is about 60 KB).
constexpr std::size_t kMaxValueBytes = 64 * 1024;
constexpr std::uintmax_t kMaxFileBytes = 16 * 1024 * 1024;

bool IsControlOrBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsControlOrBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Lines of a multi-line text; CR LF, LF and a lone CR all end a line, and a
// break at the very end does not start another line.
std::vector<std::string> SplitTextLines(std::string_view text) {
    std::vector<std::string> out;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) out.push_back(std::move(line));
    return out;
}

// The lines of a file's bytes. GB18030 never uses CR or LF inside a
// character, so splitting the bytes before decoding is safe.
std::vector<std::string_view> SplitFileLines(std::string_view bytes) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        out.push_back(bytes.substr(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) out.push_back(bytes.substr(start));
    return out;
}

void ReplaceAll(std::string& s, std::string_view from, std::string_view to) {
    for (std::size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
}

// A single-line value must not carry a line break into the file, where it
// would shift every later record; a one-line control cannot show one anyway.
std::string OneLine(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

struct RecordLayout {
    const char* tag;
    const char* property;
};

// What is written for each class, by exact class name.
std::vector<RecordLayout> RecordsOf(std::string_view cls, bool withCaptions) {
    if (cls == "TEditD")
        return {{"Float", "Exchange"},
                {"String", "Text"},
                {"Enum", "Enabled"},
                {"Enum", "ReadOnly"},
                {"Ord", "Color"}};
    if (cls == "TEdit")
        return {{"String", "Text"}, {"Enum", "Enabled"}, {"Enum", "ReadOnly"}, {"Ord", "Color"}};
    if (cls == "TLabel") {
        if (withCaptions) return {{"String", "Caption"}};
        return {};
    }
    if (cls == "TComboBox" || cls == "TComboBoxU" || cls == "TRadioGroup")
        return {{"Ord", "ItemIndex"}};
    if (cls == "TCheckBox" || cls == "TRadioButton") return {{"Enum", "Checked"}};
    if (cls == "TMemo") return {{"Memo", "Lines"}};
    if (cls == "TRichEdit") return {{"Rich", "Lines"}};
    if (cls == "TCheckListBox") return {{"CheckListBox", "Items"}};
    return {};
}

std::string ValueOf(const Component& c, const RecordLayout& r) {
    std::string_view tag = r.tag;
    if (tag == "Memo" || tag == "Rich") {
        auto* rich = dynamic_cast<const TRichEdit*>(&c);
        return rich ? EncodeLineList(SplitTextLines(rich->text())) : std::string();
    }
    if (tag == "CheckListBox") {
        auto* box = dynamic_cast<const TCheckListBox*>(&c);
        if (!box) return {};
        std::vector<std::pair<std::string, bool>> items;
        for (const auto& it : box->items())
            items.emplace_back(it.text, it.checked);
        return EncodeCheckList(items);
    }
    PropertyValue v;
    bool has = c.readProperty(r.property, v);
    if (tag == "Float")
        return has && KindOf(v) == PropertyKind::Float ? FloatToStr15(std::get<double>(v)) : "0";
    if (!has) return {};
    if (tag == "String" && KindOf(v) == PropertyKind::Text)
        return OneLine(std::get<std::string>(v));
    if (tag == "Ord" && KindOf(v) == PropertyKind::Integer)
        return std::to_string(std::get<long long>(v));
    if (tag == "Enum" && KindOf(v) == PropertyKind::Enumeration) return std::get<EnumName>(v).name;
    return {};
}

bool Skipped(const std::string& name, const std::vector<std::string>& skipNames) {
    for (const auto& s : skipNames)
        if (EqualsIgnoreAsciiCase(s, name)) return true;
    return false;
}

// --- Reading ---

struct RawRecord {
    std::string name, tag, property, value;
    int valueLine; // 1-based line of the value, for messages
};

// An "Ord" value: a decimal integer of 32 bits, as the stored properties are.
long long ParseOrd(std::string_view text) {
    std::string_view t = TrimControl(text);
    std::string_view digits = t;
    if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
    long long v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (digits.empty() || ec != std::errc() || p != digits.data() + digits.size() || v < INT_MIN ||
        v > INT_MAX)
        throw ConvertError("'" + Abbreviate(text) + "' is not a valid integer value");
    return v;
}

EnumName ParseEnum(const std::string& text, const std::string& property) {
    // Every enumeration the windows store is a flag.
    if (EqualsIgnoreAsciiCase(text, "True")) return {"True"};
    if (EqualsIgnoreAsciiCase(text, "False")) return {"False"};
    throw ConvertError("'" + Abbreviate(text) + "' is not a valid value of " + property);
}

// One checked record, ready to apply.
struct Prepared {
    Component* component;
    enum { Property, Lines, CheckList } op;
    std::string property;
    PropertyValue value;
    std::string text;
    std::vector<std::pair<std::string, bool>> checks;
    int line;
};

std::optional<Prepared> Prepare(Form& form, const RawRecord& r) {
    Component* c = form.find(r.name);
    if (!c) return std::nullopt;
    const std::string& tag = r.tag;
    if (tag == "Memo" || tag == "Rich") {
        if (!dynamic_cast<TRichEdit*>(c)) return std::nullopt;
        return Prepared{c,  Prepared::Lines, r.property, {}, DecodeLineList(r.value),
                        {}, r.valueLine};
    }
    if (tag == "CheckListBox") {
        if (!dynamic_cast<TCheckListBox*>(c)) return std::nullopt;
        return Prepared{c,  Prepared::CheckList,      r.property, {},
                        {}, DecodeCheckList(r.value), r.valueLine};
    }
    PropertyKind wanted;
    if (tag == "String")
        wanted = PropertyKind::Text;
    else if (tag == "Float")
        wanted = PropertyKind::Float;
    else if (tag == "Ord")
        wanted = PropertyKind::Integer;
    else if (tag == "Enum")
        wanted = PropertyKind::Enumeration;
    else
        return std::nullopt;
    auto kind = c->kindOf(r.property);
    if (!kind || *kind != wanted) return std::nullopt;
    PropertyValue v;
    switch (wanted) {
    case PropertyKind::Text:
        v = r.value;
        break;
    case PropertyKind::Float: {
        double x = StrToFloat(r.value);
        // A unit factor of zero or below would turn every number of the
        // field into nonsense at the next change of unit.
        if (EqualsIgnoreAsciiCase(r.property, "Exchange") && !(x > 0))
            throw ConvertError("'" + Abbreviate(r.value) + "' is not a valid unit factor");
        v = x;
        break;
    }
    case PropertyKind::Integer: {
        const long long index = ParseOrd(r.value);
        // A selection outside its list is skipped like an unknown record: the
        // list keeps what it had, never an empty unit box or option.
        if (auto* list = dynamic_cast<TComboBox*>(c);
            list && EqualsIgnoreAsciiCase(r.property, "ItemIndex")) {
            const long long lowest = dynamic_cast<TComboBoxU*>(c) ? 0 : -1;
            if (index < lowest || index >= static_cast<long long>(list->items().size()))
                return std::nullopt;
        }
        v = index;
        break;
    }
    case PropertyKind::Enumeration:
        v = ParseEnum(r.value, r.property);
        break;
    }
    return Prepared{c, Prepared::Property, r.property, std::move(v), {}, {}, r.valueLine};
}

// Applies one record and returns how to take it back.
std::function<void()> Apply(const Prepared& p) {
    Component& c = *p.component;
    switch (p.op) {
    case Prepared::Lines: {
        auto& rich = static_cast<TRichEdit&>(c);
        std::string old = rich.text();
        rich.setText(p.text);
        return [&rich, old] { rich.setText(old); };
    }
    case Prepared::CheckList: {
        auto& box = static_cast<TCheckListBox&>(c);
        auto old = box.items();
        for (std::size_t i = 0; i < p.checks.size(); ++i)
            box.setItem(i, p.checks[i].first, p.checks[i].second); // never adds items
        return [&box, old] { box.setItems(old); };
    }
    case Prepared::Property:
        break;
    }
    if (auto* e = dynamic_cast<TEditD*>(&c); e && EqualsIgnoreAsciiCase(p.property, "Exchange")) {
        // A new factor rescales the shown number; taking it back must restore
        // the very text, so empty the field before the old factor returns.
        double oldFactor = e->exchange();
        std::string oldText = e->text();
        e->setExchange(std::get<double>(p.value));
        return [e, oldFactor, oldText] {
            e->setText("");
            e->setExchange(oldFactor);
            e->setText(oldText);
        };
    }
    PropertyValue old;
    c.readProperty(p.property, old);
    c.writeProperty(p.property, p.value);
    std::string property = p.property;
    return [&c, property, old] { c.writeProperty(property, old); };
}

} // namespace

FormRecordError::FormRecordError(const std::string& path, int line, const std::string& what)
    : IoError("文件 " + path + " 第 " + std::to_string(line) + " 行：" + what +
              "；文件没有读入，窗口中的数据没有改变。"),
      line_(line) {}

std::string EncodeLineList(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out += kSeparator;
        out += kLineStart;
        out += TrimRight(lines[i]);
    }
    return out;
}

std::string DecodeLineList(std::string_view value) {
    std::string s(value);
    ReplaceAll(s, kSeparator, "\n");
    ReplaceAll(s, kLineStart, "");
    return s;
}

std::string EncodeCheckList(const std::vector<std::pair<std::string, bool>>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) out += kSeparator;
        out += TrimControl(items[i].first);
        out += kSeparator;
        out += items[i].second ? "1" : "0";
    }
    return out;
}

std::vector<std::pair<std::string, bool>> DecodeCheckList(std::string_view value) {
    std::vector<std::pair<std::string, bool>> out;
    std::string_view rest = value;
    while (true) {
        std::size_t sep = rest.find(kSeparator);
        if (sep == std::string_view::npos) break;
        std::string_view text = rest.substr(0, sep);
        std::string_view after = rest.substr(sep + kSeparator.size());
        out.emplace_back(std::string(text), !after.empty() && after[0] == '1');
        std::size_t next = after.find(kSeparator);
        if (next == std::string_view::npos) break;
        rest = after.substr(next + kSeparator.size());
    }
    return out;
}

std::string FormRecordText(const Form& form, bool withCaptions,
                           const std::vector<std::string>& skipNames) {
    std::string out;
    out.append(kFormRecordHeader).append(kCrLf);
    out.append(kFormRecordVersion).append(kCrLf);
    out.append(kCrLf);
    for (const auto& owned : form.components()) {
        const Component& c = *owned;
        if (Skipped(c.name(), skipNames)) continue;
        for (const RecordLayout& r : RecordsOf(c.className(), withCaptions)) {
            out.append(c.name()).append(kCrLf);
            out.append(r.tag).append(kCrLf);
            out.append(r.property).append(kCrLf);
            out.append(ValueOf(c, r)).append(kCrLf);
            out.append(kCrLf);
        }
    }
    return out;
}

void SaveFormRecord(const Form& form, const std::string& path, bool withCaptions,
                    const std::vector<std::string>& skipNames) {
    std::string bytes;
    try {
        bytes = Utf8ToGb18030(FormRecordText(form, withCaptions, skipNames));
    } catch (const IoError&) {
        throw;
    } catch (const Error& e) {
        throw IoError("无法保存文件 " + path + "：" + e.what());
    }
    WriteFileAtomically(path, bytes);
}

namespace {

// The records of a file's lines (decoded to UTF-8). `terminated` says
// whether the last line ended with a line break: a program that writes the
// file always ends it with one, so a value line without it was cut.
std::vector<RawRecord> ParseRecords(const std::vector<std::string>& text, bool terminated,
                                    const std::string& path) {
    auto lineAt = [&](std::size_t i) { return i < text.size() ? text[i] : std::string(); };
    auto isBlank = [](const std::string& s) {
        return s.find_first_not_of(" \t") == std::string::npos;
    };
    // Blank lines before a record are white space; the record's own empty
    // fifth line is read and dropped whatever it holds (a file may lack the
    // very last one).
    std::vector<RawRecord> records;
    std::size_t i = 3;
    while (true) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i >= text.size()) break;
        const std::size_t valueLine = i + 3;
        if (valueLine >= text.size() || (valueLine + 1 == text.size() && !terminated))
            throw FormRecordError(path, static_cast<int>(i + 1),
                                  "记录不完整，文件在记录中途结束（文件被截断？）");
        if (text[valueLine].size() > kMaxValueBytes)
            throw FormRecordError(path, static_cast<int>(valueLine + 1), "数值超过64 KB");
        // Names, tags and property names never hold blanks; blanks left
        // around them in a file edited by hand are not part of them.
        auto word = [](std::string s) {
            s.erase(0, s.find_first_not_of(" \t"));
            s.erase(s.find_last_not_of(" \t") + 1);
            return s;
        };
        records.push_back({word(text[i]), word(lineAt(i + 1)), word(lineAt(i + 2)), text[valueLine],
                           static_cast<int>(valueLine + 1)});
        i += 5;
    }
    return records;
}

std::vector<Prepared> PrepareAll(Form& form, const std::vector<RawRecord>& records,
                                 const std::string& path) {
    std::vector<Prepared> ready;
    for (const RawRecord& r : records) {
        try {
            if (auto p = Prepare(form, r)) ready.push_back(std::move(*p));
        } catch (const Error& e) {
            throw FormRecordError(path, r.valueLine, e.what());
        }
    }
    return ready;
}

bool EndsWithLineBreak(std::string_view s) {
    return !s.empty() && (s.back() == '\n' || s.back() == '\r');
}

} // namespace

bool LoadFormRecordBytes(Form& form, std::string_view bytes, const std::string& path,
                         std::string_view fresh) {
    // A byte-order mark says UTF-8; so does text that is well-formed UTF-8
    // beyond ASCII, which GBK text practically never is. Otherwise GB18030.
    bool utf8 = false;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        bytes.remove_prefix(kUtf8Bom.size());
        utf8 = true;
    } else {
        utf8 = IsValidUtf8(bytes);
    }
    std::vector<std::string_view> lines = SplitFileLines(bytes);
    if (lines.empty() || lines[0] != kFormRecordHeader) return false;

    // Lines 2 and 3 (version, empty) are not examined.
    std::vector<std::string> text(lines.size());
    for (std::size_t i = 3; i < lines.size(); ++i) {
        try {
            text[i] = utf8 ? std::string(lines[i]) : Gb18030ToUtf8(lines[i]);
        } catch (const Error& e) {
            throw FormRecordError(path, static_cast<int>(i + 1), e.what());
        }
    }
    std::vector<Prepared> ready;
    if (!fresh.empty()) {
        // The state of a new window comes first, so that nothing of the
        // previous project survives in components the file does not name.
        std::vector<std::string_view> freshLines = SplitFileLines(fresh);
        std::vector<std::string> freshText(freshLines.begin(), freshLines.end());
        ready = PrepareAll(form, ParseRecords(freshText, true, path), path);
    }
    std::vector<Prepared> own =
        PrepareAll(form, ParseRecords(text, EndsWithLineBreak(bytes), path), path);
    ready.insert(ready.end(), std::make_move_iterator(own.begin()),
                 std::make_move_iterator(own.end()));

    std::vector<std::function<void()>> undo;
    undo.reserve(ready.size());
    for (const Prepared& p : ready) {
        try {
            undo.push_back(Apply(p));
        } catch (const std::exception& e) {
            for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
                try {
                    (*it)();
                } catch (const std::exception&) {
                    // Taking back a value the form held before cannot fail in
                    // practice; go on with the rest regardless.
                }
            }
            throw FormRecordError(path, p.line, e.what());
        }
    }
    return true;
}

bool LoadFormRecord(Form& form, const std::string& path, std::string_view fresh) {
    // Look at the size and the header before reading the whole file, so that
    // choosing a large file of another kind by mistake costs nothing.
    {
        std::error_code ec;
        // A FIFO or a device would block the probe or never end.
        const auto status = std::filesystem::status(path, ec);
        if (!ec && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
            throw IoError("不是普通文件，不是Kolvane项目文件：" + path);
        const std::uintmax_t size = std::filesystem::file_size(path, ec);
        if (!ec && size > kMaxFileBytes) throw IoError("文件太大，不是Kolvane项目文件：" + path);
        std::ifstream probe(path, std::ios::binary);
        if (!probe) {
            std::error_code ec;
            if (!std::filesystem::exists(path, ec)) return false;
        } else {
            std::string head(kUtf8Bom.size() + kFormRecordHeader.size(), '\0');
            probe.read(head.data(), static_cast<std::streamsize>(head.size()));
            head.resize(static_cast<std::size_t>(probe.gcount()));
            std::string_view h = head;
            if (h.substr(0, kUtf8Bom.size()) == kUtf8Bom) h.remove_prefix(kUtf8Bom.size());
            if (h.substr(0, kFormRecordHeader.size()) != kFormRecordHeader) return false;
        }
    }
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return false;
    return LoadFormRecordBytes(form, *bytes, path, fresh);
}

} // namespace kolvane
