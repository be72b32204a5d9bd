#include "form/FormKolvane.h"
#include "form/UiServices.h"
#include "report/Report.h"

namespace kolvane {

void TFormKolvane::SBRSimpleClick() {
    reportDoc_ = BuildReport(*this);
    form_.get<TRichEdit>("RichEditReport").setText(ReportPlainText(reportDoc_));
    ui_.showPage("TSReport");
}

} // namespace kolvane
