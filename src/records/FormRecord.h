#pragma once

#include "model/Errors.h"

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

// Reads a form record file into `form`. Returns false, changing nothing, when
// the file does not exist or its first line is not the header. Otherwise the
// whole file is read and checked before anything is applied; a value that
// does not convert (Float, Ord, Enum), text that is not GB18030 or a setter
// that fails raises FormRecordError naming the line, and the form is left as
// it was. Records for unknown components, unknown tags and properties that a
// component lacks or has with another kind are skipped.
//
// `fresh`, when given, is the record text (as FormRecordText writes it) of a
// new window: it is applied first, so that components the file does not name
// end as in a new window rather than as the previous project left them.
//
// A byte-order mark or well-formed UTF-8 beyond ASCII is read as UTF-8,
// anything else as GB18030. A file that ends inside a record (a value line
// without its line end, a record without a value line) raises
// FormRecordError; a missing final empty line is tolerated. Files above
// 16 MB are refused before they are read (IoError), values above 64 KB
// raise FormRecordError. A list index outside its list is skipped.
bool LoadFormRecord(Form& form, const std::string& path, std::string_view fresh = {});

// The same, from the file's bytes; `path` only names the file in messages.
bool LoadFormRecordBytes(Form& form, std::string_view bytes, const std::string& path,
                         std::string_view fresh = {});

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
