#pragma once

#include "form/StudyRecord.h"
#include "print/ReportPages.h"

#include <QString>

class QChart;

namespace kolvane {

class TFormKolvane;

// The charts of the design studies, in Qt Charts: the page "设计研究" shows
// them, the report's PDF draws the sweep's on a page of its own. Each chart
// is made empty; whoever shows it (a view, a scene) owns it.

// One result of a sweep against its first input; with two inputs a line
// for each value of the second (at most kSweepChartLines of them, evenly
// picked). Points without a result leave a gap.
constexpr int kSweepChartLines = 12;
QChart* NewSweepChart();
void FillSweepChart(QChart* chart, const SweepRecord& sweep, std::size_t output);

// The band: a histogram of the area needed over the samples, the P10, P50
// and P90 marked, and the actual area when the case has one.
QChart* NewBandChart();
void FillBandChart(QChart* chart, const UncertaintyResult& band);

// The tornado: each factor's area at its low and its high end, about the
// nominal area needed, the largest swing on top.
QChart* NewTornadoChart();
void FillTornadoChart(QChart* chart, const UncertaintyResult& band);

// The sweep's chart as a figure of the report's PDF. Needs a QApplication.
PageFigure SweepFigure(const SweepRecord& sweep, std::size_t output);

// The figures that follow the report in its PDF, each on a page of its own:
// the heating curve of the last pass, and the sweep's chart when the report
// lists the studies and the sweep was made on the calculation as it is.
std::vector<PageFigure> ReportFigures(const TFormKolvane& window);

} // namespace kolvane
