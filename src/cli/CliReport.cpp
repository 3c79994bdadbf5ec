#include "CliReport.h"

#include "KPXSepaCtrl.h"
#include "tkvErrorAnalysis.h"

void CliReport::PrintCauses(std::ostream& agErr, const std::shared_ptr<tkvIError>& agFailed) {
    tkvErrorAnalysis analysis;
    analysis.SetSortMode(tkvErrorAnalysis::kInnermostFirst);
    analysis.Analyze(agFailed);
    for (int32_t c = 0; c < analysis.CountOfClass(); ++c) {
        for (int32_t f = 0; f < analysis.CountOfFunction(c); ++f) {
            if (analysis.Number(c, f) != 0) {
                agErr << "dividora-cli: " << analysis.Description(c, f) << '\n';
            }
        }
    }
}

void CliReport::PrintFailedPiece(std::ostream& agErr, const KPXSepaCtrl& agSepaCtrl) {
    int32_t index = -1;
    const auto result = agSepaCtrl.SepaResult();
    const auto sepaData = agSepaCtrl.SepaData();
    if (result && sepaData && result->GetErrorDataOfSeparatedFile(index) && index >= 0 &&
        index < sepaData->DividoraCount() && sepaData->DividoraData(index)) {
        agErr << "dividora-cli: at piece " << sepaData->DividoraData(index)->FileAddress() << '\n';
    }
}
