#pragma once

#include "engine/Optimiser.h"
#include "engine/Study.h"
#include "engine/Uncertainty.h"

#include <optional>
#include <string>
#include <vector>

namespace kolvane {

// The studies last made on the window's calculation, each with the case it
// was made from: the page shows them and the report lists them while the
// calculation still has the same inputs (SameInputs), never after.
struct SweepRecord {
    Case base;
    std::vector<SweepAxis> axes;
    std::vector<StudyOutput> outputs;
    // The columns for a person (caption and unit), the axes' first.
    std::vector<std::string> headings;
    std::vector<SweepPoint> points;
    bool cancelled = false;
    // The output the chart shows.
    std::size_t chartOutput = 0;
};

struct BandRecord {
    Case base;
    UncertaintyResult result;
};

struct LayoutRecord {
    Case base;
    DesignLimits limits;
    DesignRank rank = DesignRank::Length;
    DesignSearch search;
    // The pipes' designations by row (1-based: designations[row - 1]).
    std::vector<std::string> designations;
};

struct StudyRecord {
    std::optional<SweepRecord> sweep;
    std::optional<BandRecord> band;
    std::optional<LayoutRecord> layout;
    // The report lists the sweep and the band (the page's check box).
    bool inReport = false;
};

class RefTables;

// The layout search's candidates: each pipe of the series (row numbers as
// the pipe page shows them, from 1) and each pitch of the pitch list.
std::vector<DesignPipe> SeriesPipes(const RefTables& tables);
std::vector<double> PitchValues();

} // namespace kolvane
