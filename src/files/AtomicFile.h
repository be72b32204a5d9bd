#pragma once

#include "files/IoError.h"
#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// Replaces the file at `path` with `bytes` so that the file is either the old
// one or the complete new one, never a mixture, and so that a save that is
// killed half-way leaves no stray file behind.
//
// - Only regular files are written. A target that is a folder, a device, a
//   FIFO or a socket is refused and never opened.
// - A symbolic link stays a link: the chain is followed (a dangling link
//   too) and the file it ends at is written; a relative link is read
//   relative to the link's own folder.
// - The replaced file keeps its owner, group and mode; a new file gets the
//   mode every new file of the user gets (0666 less the umask). A file
//   without write permission for its owner is refused, also for root.
// - The bytes go to an unnamed temporary file in the target's folder, which
//   is flushed to disk and then put in place with one rename; where the
//   filesystem has no unnamed files a named temporary ".NAME.XXXXXX" is
//   used. Temporaries of that pattern older than a day, left by a machine
//   that went down during a save, are removed from the folder.
// - A link in a folder that everybody may write to and that has the sticky
//   bit (/tmp) is followed only when it belongs to the user or to the
//   folder's owner; another user's link there is refused, with its name.
// - A path with a line break or another control character is refused.
//
// On any failure the target is left as it was, no temporary remains and
// IoError is raised with a message that names the path.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// True when the text holds an ASCII control character (below 0x20, or DEL).
bool HasControlCharacter(std::string_view text);
// The text with its control characters written as \n, \r, \t or \xNN, for a
// message that must stay on one line.
std::string ShowControlCharacters(std::string_view text);

// The whole content of a file, or nothing when it does not exist. Raises
// IoError when it exists but cannot be read, and for anything that is not a
// regular file (a folder; a FIFO or a device, which could block or never
// end).
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace kolvane
