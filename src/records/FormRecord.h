#pragma once

#include "files/IoError.h"
#include "form/Component.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kolvane {

class Form;

// The form record file ("CFR"): the state of a window's controls, property by
// property, keyed by component name. Project (*.kvp) and template (*.kvt)
// files are form record files of the main window.
//
// Layout: the header line, the version line, an empty line, then records of
// five lines each (component name, type tag, property name, value, empty
// line). Lines end in CR LF, text is GB18030 on disk (GBK for every GBK
// character), numbers always use ".".

inline constexpr std::string_view kFormRecordHeader =
    "CFR File Format(Compatible Form Record File),by Quorvantelbix.";
inline constexpr std::string_view kFormRecordVersion = "Version 1.1,2007.07.17";

// A form record file that cannot be loaded; the message names the line.
class FormRecordError : public IoError {
public:
    FormRecordError(const std::string& path, int line, const std::string& what);
    int line() const { return line_; }

private:
    int line_;
};

// Writes the controls of `form` in component order, leaving out the names in
// `skipNames` (ASCII case ignored); labels only with `withCaptions`. The file
// is replaced atomically: a failed save leaves the old file as it was.
// Raises IoError.
void SaveFormRecord(const Form& form, const std::string& path, bool withCaptions,
                    const std::vector<std::string>& skipNames);

// The file's text in UTF-8 with CR LF line ends, as SaveFormRecord writes it
// before the conversion to GB18030.
std::string FormRecordText(const Form& form, bool withCaptions,
                           const std::vector<std::string>& skipNames);

// One record of a file as read and checked: the four lines (the name, tag
// and property without blanks around them), the value converted for the
// tags that carry a number or a flag, and where it stands in the file.
struct FormRecordEntry {
    std::string name, tag, property, value;
    PropertyValue parsed; // Float, Ord and Enum records; empty text otherwise
    int nameLine = 0;     // 1-based, for messages
    int valueLine = 0;
};

// What a load found besides the records it applied.
struct FormRecordNotes {
    // Records the form cannot take, each once in file order: a component it
    // does not have ("NewD"), a property a component lacks ("MaoU.Text"), a
    // selection outside its list ("MaoU.ItemIndex=9").
    std::vector<std::string> unknown;
    // Components that have records in the new window's text and lack some or
    // all of them in the file, in the window's order.
    std::vector<std::string> lacking;
};

// Reads and checks a form record file's bytes without a form. Returns
// nullopt when the first line is not the header. Otherwise every record is
// checked and a damaged file raises FormRecordError naming the first bad
// line: a name that is no component name, a tag or property the format does
// not know, a property its tag cannot carry, a Float, Ord or Enum value that
// does not convert, text that is not GB18030, a record whose fifth line is
// not empty, the same property of the same component twice, a file that ends
// inside a record. A missing final empty line is tolerated when the last
// value is not blank (a blank one may be the empty line itself, its value
// lost).
//
// A byte-order mark or well-formed UTF-8 beyond ASCII is read as UTF-8,
// anything else as GB18030. Values above 64 KB raise FormRecordError.
std::optional<std::vector<FormRecordEntry>> ParseFormRecord(std::string_view bytes,
                                                            const std::string& path);

// How the checked records of a file meet `form`, and which records of
// `fresh` (the records of a new window, each component's together, as
// FormRecordText writes them) the file lacks. Changes nothing.
FormRecordNotes CheckFormRecord(const Form& form, const std::vector<FormRecordEntry>& records,
                                const std::vector<FormRecordEntry>& fresh);

// Reads a form record file into `form`. Returns false, changing nothing, when
// the file does not exist or its first line is not the header. Otherwise the
// whole file is read and checked (ParseFormRecord) before anything is
// applied; a damaged file or a setter that fails raises FormRecordError and
// the form is left as it was. Records the form cannot take are skipped and
// listed in `notes`, and so are the components of `fresh` the file lacks.
//
// `fresh`, when given, is the record text (as FormRecordText writes it) of a
// new window: it is applied first, so that components the file does not name
// end as in a new window rather than as the previous project left them.
//
// Files above 16 MB are refused before they are read (IoError).
bool LoadFormRecord(Form& form, const std::string& path, std::string_view fresh = {},
                    FormRecordNotes* notes = nullptr);

// The same, from the file's bytes; `path` only names the file in messages.
bool LoadFormRecordBytes(Form& form, std::string_view bytes, const std::string& path,
                         std::string_view fresh = {}, FormRecordNotes* notes = nullptr);

// The line-list value of a memo or rich-text box: each line behind "△",
// trailing blanks and control characters dropped, joined with "▲".
std::string EncodeLineList(const std::vector<std::string>& lines);
// Back to a text whose lines are joined by "\n": "▲" breaks lines, "△" goes.
std::string DecodeLineList(std::string_view value);

// The check-list value: item text, "▲", "1" or "0", "▲", ... without the
// final "▲".
std::string EncodeCheckList(const std::vector<std::pair<std::string, bool>>& items);
std::vector<std::pair<std::string, bool>> DecodeCheckList(std::string_view value);

} // namespace kolvane
