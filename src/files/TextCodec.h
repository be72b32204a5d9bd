#pragma once

#include <string>
#include <string_view>

namespace kolvane {

// Project and template files hold text in the Chinese Windows code page.
// GB18030 is byte-identical to GBK for every GBK character and can carry any
// other character as well, so files are written and read as GB18030 while
// the program works in UTF-8.

// Raises Error when the bytes are not valid GB18030.
std::string Gb18030ToUtf8(std::string_view bytes);
// Raises Error when the text is not valid UTF-8.
std::string Utf8ToGb18030(std::string_view text);

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates). Chinese GBK text is practically never well-formed UTF-8: its
// lead bytes 0x81-0xFE are followed by bytes that UTF-8 does not allow there.
bool IsValidUtf8(std::string_view bytes);

} // namespace kolvane
