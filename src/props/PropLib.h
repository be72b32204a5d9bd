#pragma once

#include "files/IoError.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

// One fluid of the property library: number, names, six property texts and
// a note. An empty text stands for "no value".
struct PropertyRecord {
    std::string NO, CN, EN, CP, MD, VI, TC, ST, HV, NT;
    bool operator==(const PropertyRecord&) const = default;
};

// The ten fields with their labels and byte limits in GBK, in table order.
struct PropertyField {
    const char* name;  // "NO"
    const char* label; // "流水号"
    std::size_t bytes; // the longest text the field holds, in GBK bytes
    std::string PropertyRecord::*member;
};
const std::array<PropertyField, 10>& PropertyFields();
// A field by name, letter case ignored; nullptr for no such field.
const PropertyField* FindPropertyField(std::string_view name);

// The first field that is longer than it may be, as a message naming the
// field and the record; "" when all fit.
std::string CheckPropertyRecord(const PropertyRecord& r);

// The library in an SQLite database, table PropertyRecord, ordered by NO.
// Raises IoError when the file cannot be opened or read.
std::vector<PropertyRecord> LoadPropLib(const std::string& path);
// Writes the whole library: a new database beside the target, filled in one
// transaction, then renamed over it; a failed save changes nothing on disk.
// Raises Error naming the field for a text over its limit, IoError else.
void SavePropLib(const std::string& path, const std::vector<PropertyRecord>& records);

// Where the library is read from: the user's own copy when there is one
// ($XDG_DATA_HOME/Kolvane/PropLib.db, else ~/.local/share/...), else the one
// shipped beside the program.
std::string PropLibReadPath(const std::string& programDir);
// Where it is saved: beside the program when that folder is writable, else
// the user's own copy (whose folder is created).
std::string PropLibSavePath(const std::string& programDir);

} // namespace kolvane
