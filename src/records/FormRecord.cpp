#include "records/FormRecord.h"

#include "files/AtomicFile.h"
#include "files/TextCodec.h"
#include "form/ComboBoxU.h"
#include "form/Controls.h"
#include "form/EditD.h"
#include "form/Form.h"
#include "form/ListControls.h"
#include "formula/NumberFormat.h"

#include <bit>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>
#include <unordered_set>

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
// character, so splitting the bytes before decoding is safe. memchr finds
// the line ends: a project is read line by line many times in the tests and
// the fuzzer.
std::vector<std::string_view> SplitFileLines(std::string_view bytes) {
    std::vector<std::string_view> out;
    out.reserve(bytes.size() / 6 + 1); // a project's lines average about 6 bytes
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const auto* lf =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const auto* cr =
            static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
        if (cr) stop = cr;
        out.emplace_back(p, static_cast<std::size_t>(stop - p));
        if (stop == end) break;
        p = stop + 1;
        if (*stop == '\r' && p < end && *p == '\n') ++p;
    }
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

// What the format knows: its type tags, its property names, and which tag
// carries which property. Anything else in a record's second or third line
// means the lines have slipped (a line lost or doubled) or were mistyped.
struct RecordKind {
    std::string_view tag, property;
};
constexpr RecordKind kRecordKinds[] = {
    {"Float", "Exchange"}, {"String", "Text"},  {"String", "Caption"},     {"Enum", "Enabled"},
    {"Enum", "ReadOnly"},  {"Enum", "Checked"}, {"Ord", "Color"},          {"Ord", "ItemIndex"},
    {"Memo", "Lines"},     {"Rich", "Lines"},   {"CheckListBox", "Items"},
};
constexpr std::string_view kTags[] = {"String", "Float", "Ord",         "Enum",
                                      "Memo",   "Rich",  "CheckListBox"};
constexpr std::string_view kProperties[] = {"Text",    "Enabled",   "ReadOnly", "Color", "Exchange",
                                            "Caption", "ItemIndex", "Checked",  "Lines", "Items"};

template <std::size_t N> bool OneOf(std::string_view word, const std::string_view (&list)[N]) {
    for (std::string_view w : list)
        if (w == word) return true;
    return false;
}

std::string JoinedList(std::span<const std::string_view> words, std::string_view lastJoin) {
    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i) out += i + 1 == words.size() ? lastJoin : "、";
        out += words[i];
    }
    return out;
}

// The tags that may carry `property`, for the message ("Memo或Rich").
std::string TagsOf(std::string_view property) {
    std::vector<std::string_view> tags;
    for (const RecordKind& k : kRecordKinds)
        if (k.property == property) tags.push_back(k.tag);
    return JoinedList(tags, "或");
}

bool KindIsKnown(std::string_view tag, std::string_view property) {
    for (const RecordKind& k : kRecordKinds)
        if (k.tag == tag && k.property == property) return true;
    return false;
}

// Component names are identifiers, as the form designer makes them.
bool IsComponentName(std::string_view s) {
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_') return false;
    return true;
}

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(" \t") == std::string_view::npos;
}

// Names, tags and property names never hold blanks; blanks left around them
// in a file edited by hand are not part of them.
std::string_view Word(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// An "Ord" value: a decimal integer of 32 bits, as the stored properties are.
long long ParseOrd(std::string_view text) {
    std::string_view t = TrimControl(text);
    std::string_view digits = t;
    if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
    long long v = 0;
    auto [p, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
    if (digits.empty() || ec != std::errc() || p != digits.data() + digits.size() || v < INT_MIN ||
        v > INT_MAX)
        throw Error("'" + Abbreviate(text) + "' 不是有效的整数");
    return v;
}

EnumName ParseEnum(const std::string& text, const std::string& property) {
    // Every enumeration the windows store is a flag.
    if (EqualsIgnoreAsciiCase(text, "True")) return {"True"};
    if (EqualsIgnoreAsciiCase(text, "False")) return {"False"};
    throw Error("'" + Abbreviate(text) + "' 不是" + property + "的有效值（应为True或False）");
}

// The value of a Float, Ord or Enum record; ConvertError when it does not
// convert. Text values are kept as they stand.
PropertyValue ParseValue(const std::string& tag, const std::string& property,
                         const std::string& value) {
    if (tag == "Float") {
        const double x = StrToFloat(value);
        // A unit factor of zero or below would turn every number of the
        // field into nonsense at the next change of unit.
        if (!(x > 0)) throw Error("'" + Abbreviate(value) + "' 不是有效的单位换算系数");
        return x;
    }
    if (tag == "Ord") return ParseOrd(value);
    if (tag == "Enum") return ParseEnum(value, property);
    return std::string();
}

// A line of the file for a message: decoded when it can be, otherwise with
// its non-ASCII bytes shown as "?", and shortened.
std::string Quoted(std::string_view line, bool utf8) {
    std::string text;
    try {
        text = utf8 ? std::string(line) : Gb18030ToUtf8(line);
    } catch (const Error&) {
        for (char c : line)
            text += static_cast<unsigned char>(c) < 0x80 ? c : '?';
    }
    return "'" + Abbreviate(text) + "'";
}

// Duplicates and the comparison with a new window's records match component
// names regardless of letter case.
std::string LowerName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Records filed by component (letter case ignored) and property, to find one
// again: a duplicate, or a new window's record in a file. Open addressing in
// one array, without an allocation per record: a project has some 400
// records, and the fuzzer reads thousands of files a second.
class RecordIndex {
public:
    RecordIndex(const std::vector<FormRecordEntry>& records, std::size_t most)
        : records_(records), slots_(std::bit_ceil(2 * most + 2)) {}

    // Files records_[index]; returns the record filed before under the same
    // key, or nullptr. At most `most` records are filed.
    const FormRecordEntry* insert(std::size_t index) {
        const FormRecordEntry& r = records_[index];
        const std::uint64_t hash = Hash(r.name, r.property);
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            Slot& slot = slots_[at];
            if (slot.index == 0) {
                slot = {hash, index + 1};
                return nullptr;
            }
            const FormRecordEntry& other = records_[slot.index - 1];
            if (slot.hash == hash && Same(other, r.name, r.property)) return &other;
        }
    }

    bool contains(std::string_view name, std::string_view property) const {
        const std::uint64_t hash = Hash(name, property);
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[at];
            if (slot.index == 0) return false;
            if (slot.hash == hash && Same(records_[slot.index - 1], name, property)) return true;
        }
    }

private:
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t index = 0; // 1-based; 0 is free
    };
    static std::uint64_t Hash(std::string_view name, std::string_view property) {
        std::uint64_t h = 14695981039346656037ull; // FNV-1a
        auto add = [&h](char c) { h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull; };
        for (char c : name)
            add(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
        add('\n');
        for (char c : property)
            add(c);
        return h;
    }
    static bool Same(const FormRecordEntry& r, std::string_view name, std::string_view property) {
        return r.property == property && EqualsIgnoreAsciiCase(r.name, name);
    }

    const std::vector<FormRecordEntry>& records_;
    std::vector<Slot> slots_;
};

// How a checked record meets the form.
enum class Fit { Takes, NoComponent, NoProperty, OutsideList };

Fit FitOf(const Form& form, const FormRecordEntry& r, Component** component) {
    Component* c = form.find(r.name);
    *component = c;
    if (!c) return Fit::NoComponent;
    const std::string& tag = r.tag;
    if (tag == "Memo" || tag == "Rich")
        return dynamic_cast<TRichEdit*>(c) ? Fit::Takes : Fit::NoProperty;
    if (tag == "CheckListBox")
        return dynamic_cast<TCheckListBox*>(c) ? Fit::Takes : Fit::NoProperty;
    const PropertyKind wanted = tag == "String"  ? PropertyKind::Text
                                : tag == "Float" ? PropertyKind::Float
                                : tag == "Ord"   ? PropertyKind::Integer
                                                 : PropertyKind::Enumeration;
    const auto kind = c->kindOf(r.property);
    if (!kind || *kind != wanted) return Fit::NoProperty;
    // A selection outside its list is skipped like an unknown record: the
    // list keeps what it had, never an empty unit box or option.
    if (auto* list = dynamic_cast<TComboBox*>(c); list && r.property == "ItemIndex") {
        const long long index = std::get<long long>(r.parsed);
        const long long lowest = dynamic_cast<TComboBoxU*>(c) ? 0 : -1;
        if (index < lowest || index >= static_cast<long long>(list->items().size()))
            return Fit::OutsideList;
    }
    return Fit::Takes;
}

// Applies one record and returns how to take it back.
std::function<void()> Apply(Component& c, const FormRecordEntry& r) {
    if (r.tag == "Memo" || r.tag == "Rich") {
        auto& rich = static_cast<TRichEdit&>(c);
        std::string old = rich.text();
        rich.setText(DecodeLineList(r.value));
        return [&rich, old] { rich.setText(old); };
    }
    if (r.tag == "CheckListBox") {
        auto& box = static_cast<TCheckListBox&>(c);
        auto old = box.items();
        const auto checks = DecodeCheckList(r.value);
        for (std::size_t i = 0; i < checks.size(); ++i)
            box.setItem(i, checks[i].first, checks[i].second); // never adds items
        return [&box, old] { box.setItems(old); };
    }
    if (auto* e = dynamic_cast<TEditD*>(&c); e && r.property == "Exchange") {
        // A new factor rescales the shown number; taking it back must restore
        // the very text, so empty the field before the old factor returns.
        double oldFactor = e->exchange();
        std::string oldText = e->text();
        e->setExchange(std::get<double>(r.parsed));
        return [e, oldFactor, oldText] {
            e->setText("");
            e->setExchange(oldFactor);
            e->setText(oldText);
        };
    }
    PropertyValue old;
    c.readProperty(r.property, old);
    c.writeProperty(r.property, r.tag == "String" ? PropertyValue(r.value) : r.parsed);
    std::string property = r.property;
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

std::optional<std::vector<FormRecordEntry>> ParseFormRecord(std::string_view bytes,
                                                            const std::string& path) {
    // A byte-order mark says UTF-8; so does text that is well-formed UTF-8
    // beyond ASCII, which GBK text practically never is. Otherwise GB18030.
    bool utf8 = false;
    if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        bytes.remove_prefix(kUtf8Bom.size());
        utf8 = true;
    }
    // The header first: a file of another kind costs nothing more.
    const std::string_view head = bytes.substr(0, kFormRecordHeader.size() + 1);
    if (!head.starts_with(kFormRecordHeader) ||
        (head.size() > kFormRecordHeader.size() && head.back() != '\r' && head.back() != '\n'))
        return std::nullopt;
    if (!utf8) utf8 = IsValidUtf8(bytes);
    const std::vector<std::string_view> lines = SplitFileLines(bytes);
    // The program always ends a file with a line break; a last line without
    // one was cut.
    const bool terminated = !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
    const std::size_t n = lines.size();
    auto fail = [&path](std::size_t index, const std::string& what) {
        throw FormRecordError(path, static_cast<int>(index + 1), what);
    };

    std::vector<FormRecordEntry> records;
    // A record takes four lines at least (the last may lack its empty line),
    // so the vector never moves and the index may refer into it.
    const std::size_t most = n / 4 + 1;
    records.reserve(most);
    RecordIndex seen(records, most);
    // Lines 2 and 3 (version, empty) are not examined. Blank lines before a
    // record are white space.
    std::size_t i = 3;
    while (true) {
        while (i < n && IsBlank(lines[i]))
            ++i;
        if (i >= n) break;
        const std::size_t valueAt = i + 3;
        if (valueAt >= n || (valueAt + 1 == n && !terminated))
            fail(i, "记录不完整，文件在记录中途结束（文件被截断？）");
        const std::string_view name = Word(lines[i]), tag = Word(lines[i + 1]),
                               property = Word(lines[i + 2]);
        if (!IsComponentName(name))
            fail(i, Quoted(lines[i], utf8) +
                        "不是组件名（记录的第一行应是组件名；文件中缺了或多了一行？）");
        if (!OneOf(tag, kTags))
            fail(i + 1, Quoted(lines[i + 1], utf8) + "不是记录类型（应为" +
                            JoinedList(kTags, "或") + "；文件中缺了或多了一行？）");
        if (!OneOf(property, kProperties))
            fail(i + 2, Quoted(lines[i + 2], utf8) + "不是属性名（应为" +
                            JoinedList(kProperties, "或") + "；文件中缺了或多了一行？）");
        if (!KindIsKnown(tag, property))
            fail(i + 2, "属性" + std::string(property) + "不能是" + std::string(tag) +
                            "类型的记录（应为" + TagsOf(property) + "）");

        const std::string_view rawValue = lines[valueAt];
        if (rawValue.size() > kMaxValueBytes) fail(valueAt, "数值超过64 KB");
        FormRecordEntry r;
        r.name = name;
        r.tag = tag;
        r.property = property;
        r.nameLine = static_cast<int>(i + 1);
        r.valueLine = static_cast<int>(valueAt + 1);
        try {
            r.value = utf8 ? std::string(rawValue) : Gb18030ToUtf8(rawValue);
            r.parsed = ParseValue(r.tag, r.property, r.value);
        } catch (const Error& e) {
            fail(valueAt, e.what());
        }

        // The record's own empty line. Only at the very end of the file may
        // it be missing, and only after a value that cannot be that line.
        if (valueAt + 1 < n) {
            if (!IsBlank(lines[valueAt + 1]))
                fail(valueAt + 1, "记录后面应是空行，这里却是" + Quoted(lines[valueAt + 1], utf8) +
                                      "（文件中缺了或多了一行？）");
            // A doubled property line reads as the value and pushes the real,
            // empty value into the empty line: the record looks whole and one
            // blank line too many follows. The program never writes that.
            if (rawValue == lines[i + 2] && valueAt + 2 < n && IsBlank(lines[valueAt + 2]))
                fail(valueAt, "值" + Quoted(rawValue, utf8) +
                                  "与属性名相同，记录后又多出一个空行（属性行重复了？）");
        } else if (IsBlank(rawValue)) {
            fail(i, "记录不完整，文件在记录中途结束（文件被截断？）");
        }

        records.push_back(std::move(r));
        if (const FormRecordEntry* first = seen.insert(records.size() - 1))
            fail(i, "组件" + records.back().name + "的属性" + records.back().property + "在第 " +
                        std::to_string(first->nameLine) + " 行已有记录（记录重复）");
        i += 5;
    }
    return records;
}

FormRecordNotes CheckFormRecord(const Form& form, const std::vector<FormRecordEntry>& records,
                                const std::vector<FormRecordEntry>& fresh) {
    FormRecordNotes notes;
    std::unordered_set<std::string> told;
    auto tell = [&](std::string item, std::string key) {
        if (told.insert(std::move(key)).second) notes.unknown.push_back(std::move(item));
    };
    RecordIndex present(records, records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const FormRecordEntry& r = records[i];
        present.insert(i);
        Component* c = nullptr;
        switch (FitOf(form, r, &c)) {
        case Fit::Takes:
            break;
        case Fit::NoComponent:
            tell(r.name, LowerName(r.name));
            break;
        case Fit::NoProperty:
            tell(r.name + "." + r.property, LowerName(r.name) + "." + r.property);
            break;
        case Fit::OutsideList: {
            std::string item =
                r.name + ".ItemIndex=" + std::to_string(std::get<long long>(r.parsed));
            tell(item, LowerName(item));
            break;
        }
        }
    }
    // A new window writes the records of a component one after the other.
    const FormRecordEntry* lastLacking = nullptr;
    for (const FormRecordEntry& f : fresh) {
        if (lastLacking && EqualsIgnoreAsciiCase(lastLacking->name, f.name)) continue;
        if (present.contains(f.name, f.property)) continue;
        lastLacking = &f;
        notes.lacking.push_back(f.name);
    }
    return notes;
}

bool LoadFormRecordBytes(Form& form, std::string_view bytes, const std::string& path,
                         std::string_view fresh, FormRecordNotes* notes) {
    std::optional<std::vector<FormRecordEntry>> records = ParseFormRecord(bytes, path);
    if (!records) return false;
    std::vector<FormRecordEntry> freshRecords;
    if (!fresh.empty()) {
        // The state of a new window comes first, so that nothing of the
        // previous project survives in components the file does not name.
        if (auto parsed = ParseFormRecord(fresh, "(new window)")) freshRecords = std::move(*parsed);
    }
    if (notes) *notes = CheckFormRecord(form, *records, freshRecords);

    std::vector<std::pair<Component*, const FormRecordEntry*>> ready;
    ready.reserve(freshRecords.size() + records->size());
    for (const auto* list : {&freshRecords, &*records})
        for (const FormRecordEntry& r : *list) {
            Component* c = nullptr;
            if (FitOf(form, r, &c) == Fit::Takes) ready.emplace_back(c, &r);
        }

    std::vector<std::function<void()>> undo;
    undo.reserve(ready.size());
    for (const auto& [component, record] : ready) {
        try {
            undo.push_back(Apply(*component, *record));
        } catch (const std::exception& e) {
            for (auto it = undo.rbegin(); it != undo.rend(); ++it) {
                try {
                    (*it)();
                } catch (const std::exception&) {
                    // Taking back a value the form held before cannot fail in
                    // practice; go on with the rest regardless.
                }
            }
            throw FormRecordError(path, record->valueLine, e.what());
        }
    }
    return true;
}

bool LoadFormRecord(Form& form, const std::string& path, std::string_view fresh,
                    FormRecordNotes* notes) {
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
    return LoadFormRecordBytes(form, *bytes, path, fresh, notes);
}

} // namespace kolvane
