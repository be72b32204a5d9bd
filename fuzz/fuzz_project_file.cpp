// Feeds arbitrary bytes, as a whole project file, to the reader's parse and
// to its checks against the main window, without applying anything: every
// decision a load makes (refuse, skip and list, name what is lacking) is
// taken here, so this runs thousands of files a second. The window is built
// once. Besides crashes, hangs, leaks and out-of-bounds reads it checks what
// a load promises: a refusal names a line of the file, an accepted file
// holds each property of a component once, and what is named lacking or
// unknown is so.
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "records/FormRecord.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

using namespace kolvane;

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

struct Window {
    ScriptedUiServices ui;
    TFormKolvane window{ui};
    std::vector<FormRecordEntry> fresh =
        ParseFormRecord(FormRecordText(window.form(), false, {}), "fresh").value();
    // A new window's records by component (lower case): "name.property".
    std::map<std::string, std::vector<std::string>> freshKeys = [this] {
        std::map<std::string, std::vector<std::string>> keys;
        for (const FormRecordEntry& f : fresh)
            keys[Lower(f.name)].push_back(Lower(f.name) + "." + f.property);
        return keys;
    }();
};

// Lines as the reader counts them: CR LF, LF and a lone CR end a line, and
// so does the end of a last line without one. memchr keeps it cheap.
int LineCount(std::string_view bytes) {
    int lines = 0;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        ++lines;
        const auto* lf =
            static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const auto* cr =
            static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
        if (cr) stop = cr;
        if (stop == end) break;
        p = stop + 1;
        if (*stop == '\r' && p < end && *p == '\n') ++p;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Window* w = new Window; // lives for the whole run
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::optional<std::vector<FormRecordEntry>> records;
    try {
        records = ParseFormRecord(bytes, "fuzz.kvp");
    } catch (const FormRecordError& e) {
        if (e.line() < 4 || e.line() > LineCount(bytes)) std::abort();
        return 0;
    }
    if (!records) return 0;

    std::set<std::string> keys, names;
    int previous = 3;
    for (const FormRecordEntry& r : *records) {
        if (r.nameLine <= previous || r.valueLine != r.nameLine + 3) std::abort();
        previous = r.valueLine;
        names.insert(Lower(r.name));
        if (!keys.insert(Lower(r.name) + "." + r.property).second) std::abort();
    }
    const FormRecordNotes notes = CheckFormRecord(w->window.form(), *records, w->fresh);
    for (const std::string& name : notes.lacking) {
        if (!w->window.form().find(name)) std::abort();
        // Lacking means a record of the new window's is not in the file.
        bool missing = false;
        for (const std::string& key : w->freshKeys.at(Lower(name)))
            missing = missing || !keys.count(key);
        if (!missing) std::abort();
    }
    for (const std::string& item : notes.unknown)
        if (item.find('.') == std::string::npos && w->window.form().find(item)) std::abort();
    return 0;
}
