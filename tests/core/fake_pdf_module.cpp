// A stand-in for libkolvane-pdf.so that needs no Qt: it writes a marker
// instead of pages, and fails for a path that names a full disk. Built
// without its entry (FAKE_PDF_MODULE_WITHOUT_ENTRY) it is a module of
// another program.
#include "cli/PdfModule.h"

#include <fstream>
#include <stdexcept>

#ifdef FAKE_PDF_MODULE_WITHOUT_ENTRY
extern "C" {
int kolvane_fake_pdf_module_of_another_program = 1;
}
#else
extern "C" void kolvane_pdf_write_report_v1(const kolvane::TFormKolvane&, const std::string& path) {
    if (path.find("full") != std::string::npos) throw std::runtime_error("磁盘已满");
    std::ofstream(path) << "%PDF-fake";
}
#endif
