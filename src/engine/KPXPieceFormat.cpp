#include "KPXPieceFormat.h"

#include <bit>

#include "KPXDividoraData.h"
#include "tkvFileRWCtrl.h"

namespace KPXPieceFormat {

tkvVerRWCtrl VersionBlock(tkvFileRWCtrl* agFile) {
    return tkvVerRWCtrl(agFile, kProductName, kProductComment, kFileKind, kFileVersion);
}

bool EncodeFields(const KPXDividoraData& agRecord, tkvFileRWCtrl& agFile) {
    return agFile.SetDate(agRecord.SepaDate()) && agFile.SetLong(agRecord.SpecID()) &&
           agFile.SetLong(agRecord.TurnID()) && agFile.SetLong(agRecord.Count()) &&
           agFile.SetString(agRecord.FileName()) && agFile.SetLong(agRecord.FileSize());
}

bool DecodeFields(tkvFileRWCtrl& agFile, KPXDividoraData& agRecord) {
    double date = 0.0;
    int32_t number = 0;
    std::string name;
    if (!agFile.GetDate(date)) {
        return false;
    }
    agRecord.SetSepaDate(date);
    if (!agFile.GetLong(number)) {
        return false;
    }
    agRecord.SetSpecID(number);
    if (!agFile.GetLong(number)) {
        return false;
    }
    agRecord.SetTurnID(number);
    if (!agFile.GetLong(number)) {
        return false;
    }
    agRecord.SetCount(number);
    if (!agFile.GetStringChecking(kFileNameLimit, name)) {
        return false;
    }
    agRecord.SetFileName(name);
    if (!agFile.GetLong(number)) {
        return false;
    }
    agRecord.SetFileSize(number);
    return true;
}

bool SameSplit(int32_t agSpecID, double agSepaDate, const KPXDividoraData& agRecord) {
    return agSpecID == agRecord.SpecID() &&
           std::bit_cast<uint64_t>(agSepaDate) == std::bit_cast<uint64_t>(agRecord.SepaDate());
}

bool SameSplit(const KPXDividoraData& agA, const KPXDividoraData& agB) {
    return SameSplit(agA.SpecID(), agA.SepaDate(), agB);
}

bool SameFields(const KPXDividoraData& agA, const KPXDividoraData& agB) {
    return SameSplit(agA, agB) && agA.TurnID() == agB.TurnID() && agA.Count() == agB.Count() &&
           agA.FileName() == agB.FileName() && agA.FileSize() == agB.FileSize();
}

}  // namespace KPXPieceFormat
