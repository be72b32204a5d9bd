#pragma once

#include <string>

namespace kolvane {

// The folder the program reads its data files from (PropLib.db, Piples.db,
// Manual.pdf), ending in "/": the program's own folder when it holds any of
// them (the build tree), else share/kolvane of the installation the program
// lies in (`programFolder`/../share/kolvane), else the program's folder.
std::string DataFolder(const std::string& programFolder);

} // namespace kolvane
