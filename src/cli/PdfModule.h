#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kolvane {

class TFormKolvane;

// The PDF export of `calc --report FILE.pdf` lives in a module that
// kolvane-cli loads only for it, so that no other run loads Qt. The module
// calls the core of the program that loaded it.

// The module's file name, and the one function it exports: it writes the
// window's generated report, with its heating curve, as a PDF at the path,
// and throws (std::exception) when it cannot. The name carries the version
// of this interface, so a module built for another finds no entry.
inline constexpr const char* kPdfModuleFile = "libkolvane-pdf.so";
inline constexpr const char* kPdfModuleEntry = "kolvane_pdf_write_report_v1";
using PdfModuleEntry = void (*)(const TFormKolvane& window, const std::string& path);

// Where the module of the program in `programFolder` lies: beside it (the
// build tree), or in lib/kolvane of its installation.
std::vector<std::string> PdfModulePaths(const std::string& programFolder);

// A report writer that loads the first of `paths` that exists on its first
// call and calls its entry; the module stays loaded. A module that is
// missing, cannot be loaded or has no entry is an Error naming the file.
std::function<void(const TFormKolvane&, const std::string&)>
PdfModuleWriter(std::vector<std::string> paths);

} // namespace kolvane
