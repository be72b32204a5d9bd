#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kolvane {

// Replaces the file at `path` with `bytes` so that the file is either the old
// one or the complete new one, never a mixture: the bytes go to a temporary
// file in the same folder, which is flushed to disk and then renamed over the
// target. On any failure the temporary file is removed, the target is left as
// it was and IoError is raised. A target that exists but is read-only is
// refused, as writing it in place would be. A symbolic link stays a link: the
// file it points to is replaced.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

// The whole content of a file, or nothing when it does not exist. Raises
// IoError when it exists but cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

} // namespace kolvane
