#pragma once

#include "report/Report.h"

namespace kolvane {

class TFormKolvane;

// The report command of the main window and the report it made last. The
// window owns one and SBRSimpleClick forwards to it.
class ReportCommands {
public:
    explicit ReportCommands(TFormKolvane& window) : w_(window) {}
    ReportCommands(const ReportCommands&) = delete;
    ReportCommands& operator=(const ReportCommands&) = delete;

    // Generates the report of the window as it stands into the report page
    // (its text, which projects keep) and brings the page to the front.
    void generate();
    const ReportDocument& document() const { return document_; }

private:
    TFormKolvane& w_;
    ReportDocument document_;
};

} // namespace kolvane
