#include "form/ReportCommands.h"

#include "form/FormKolvane.h"
#include "form/UiServices.h"

namespace kolvane {

void ReportCommands::generate() {
    document_ = BuildReport(w_);
    w_.form().get<TRichEdit>("RichEditReport").setText(ReportPlainText(document_));
    w_.ui().showPage("TSReport");
}

} // namespace kolvane
