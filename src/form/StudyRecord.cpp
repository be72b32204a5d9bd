#include "form/StudyRecord.h"

#include "formula/NumberFormat.h"
#include "refdata/RefData.h"
#include "refdata/UnitPickList.h"

namespace kolvane {

std::vector<DesignPipe> SeriesPipes(const RefTables& tables) {
    std::vector<DesignPipe> pipes;
    pipes.reserve(tables.pipes().size());
    for (std::size_t i = 0; i < tables.pipes().size(); ++i) {
        const PipeRow& p = tables.pipes()[i];
        pipes.push_back({static_cast<int>(i + 1), p.outside / 1000, p.inside / 1000});
    }
    return pipes;
}

std::vector<double> PitchValues() {
    std::vector<double> pitches;
    for (const std::string& v : PitchList().values)
        pitches.push_back(StrToFloat(v));
    return pitches;
}

} // namespace kolvane
