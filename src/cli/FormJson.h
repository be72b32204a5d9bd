#pragma once

#include <string>
#include <string_view>

namespace kolvane {

class TFormKolvane;

// The window's state as one JSON object: title, project file, changed flag
// and every component by name.
std::string FormToJson(const TFormKolvane& window);

// A readable table of the quantity fields: caption, text as displayed, unit,
// input or computed.
std::string FieldsTable(const TFormKolvane& window);

// Terminal cells a UTF-8 text takes: East Asian wide characters take two.
std::size_t DisplayWidth(std::string_view utf8);
// The text followed by blanks up to `width` cells.
std::string PadRight(const std::string& s, std::size_t width);

} // namespace kolvane
