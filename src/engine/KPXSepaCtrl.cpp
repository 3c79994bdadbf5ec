#include "KPXSepaCtrl.h"

#include <array>

#include "KPXPieceFormat.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvStringControl.h"
#include "tkvVerRWCtrl.h"

namespace {

constexpr std::array<tkvErrorText, 35> kErrorTexts{{
    {1001, "分割機能ｸﾗｽにﾃﾞｰﾀｸﾗｽがｾｯﾄされていません。"},
    {1002, "分割元ﾌｧｲﾙが存在しません。"},
    {1003, "分割数が0なので分割できません。"},
    {1004, "1ﾃﾞｰﾀ転送ｻｲｽﾞが適切な値(0より上)ではありません。"},
    {1005, "ﾃﾞｰﾀｸﾗｽのﾌｧｲﾙｻｲｽﾞの合計値が分割元のﾌｧｲﾙｻｲｽﾞと異なっています。"},
    {1006, "分割元ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。"},
    {1007, "分割先ﾌｧｲﾙが分割元ﾌｧｲﾙと同じｱﾄﾞﾚｽです。"},
    {1008, "分割元ﾌｧｲﾙ名にﾍｯﾀﾞへ書き込めない文字が含まれています。"},
    {1101, "分割先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。"},
    {1102, "分割元ﾌｧｲﾙのﾃﾞｰﾀが途中で終わっています。"},
    {1103, "分割先ﾌｧｲﾙへの書き込みに失敗しました。"},
    {1201, "ﾍｯﾀﾞの書き込みに失敗しました。"},
    {1301, "復元元ﾌｧｲﾙが存在しません。"},
    {1302, "復元先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。"},
    {1303, "分割元ﾌｧｲﾙ数が0なので復元できません。"},
    {1304, "復元先ﾌｧｲﾙが復元元ﾌｧｲﾙと同じｱﾄﾞﾚｽです。"},
    {1401, "復元元ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。"},
    {1402, "復元元ﾌｧｲﾙのﾃﾞｰﾀが途中で終わっています。"},
    {1403, "復元先ﾌｧｲﾙへの書き込みに失敗しました。"},
    {1501, "ﾍｯﾀﾞ読み込みﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。"},
    {1502, "ﾍｯﾀﾞ読み込みﾌｧｲﾙが存在しません。"},
    {1601, "ﾊﾞｰｼﾞｮﾝが異なる、もしくは、壊れたﾌｧｲﾙのためﾃﾞｰﾀを取得できません。"},
    {1602, "ﾍｯﾀﾞの読み込みに失敗しました。"},
    {1603, "復元元ﾌｧｲﾙのﾌｧｲﾙｻｲｽﾞ情報が異常です。"},
    {1604, "ﾍｯﾀﾞの復元先ﾌｧｲﾙ名が不正です。"},
    {1701, "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割日時が一致しません。"},
    {1702, "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割IDが一致しません。"},
    {1703, "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割数が一致しません。"},
    {1704, "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の復元先ﾌｧｲﾙ名が一致しません。"},
    {1705, "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割数とﾃﾞｰﾀｸﾗｽの分割数が一致しません。"},
    {1801, "分割元ﾌｧｲﾙが足りない、もしくは、重複しているため結合順序を割り振りできません。"},
    {1802, "分割元ﾌｧｲﾙの結合順を決定していた際にｴﾗｰが発生しました。"},
    {1901, "上書き保存のｲﾍﾞﾝﾄの後、実行をｷｬﾝｾﾙされました。"},
    {2001, "ﾍｯﾀﾞに書き込む分割元のﾌｧｲﾙｱﾄﾞﾚｽが指定されていません。"},
    {2002, "分割元ﾌｧｲﾙ名にﾍｯﾀﾞへ書き込めない文字が含まれています。"},
}};

tkvVerRWCtrl PieceVersionBlock(tkvFileRWCtrl* agFile) {
    tkvVerRWCtrl block;
    block.SetFileRWCtrl(agFile);
    block.SetProductName(std::string(KPXPieceFormat::kProductName));
    block.SetProductComment(std::string(KPXPieceFormat::kProductComment));
    block.SetFileKind(std::string(KPXPieceFormat::kFileKind));
    block.SetFileVersion(KPXPieceFormat::kFileVersion);
    return block;
}

}  // namespace

std::string KPXSepaCtrl::ProductName() const { return std::string(KPXPieceFormat::kProductName); }

std::string KPXSepaCtrl::ProductComment() const {
    return std::string(KPXPieceFormat::kProductComment);
}

std::string KPXSepaCtrl::FileKindOfDividora() const {
    return std::string(KPXPieceFormat::kFileKind);
}

int32_t KPXSepaCtrl::FileVersionOfDividora() const { return KPXPieceFormat::kFileVersion; }

void KPXSepaCtrl::NewErrorMng() {
    // The handler owns the text it may append, so the registry stays describable after this
    // control is gone.
    auto systemText = std::make_shared<std::string>();
    systemText_ = systemText;
    lcErrorMng =
        std::make_shared<tkvErrorMng>([systemText](int32_t agNumber, std::string& ouDescription) {
            ouDescription = tkvErrorMng::TextFromTable(kErrorTexts, agNumber);
            if (!systemText->empty() &&
                (agNumber == kPieceWriteFailed || agNumber == kRestoredWriteFailed ||
                 agNumber == kHeaderNotWritten)) {
                ouDescription += " " + *systemText;
            }
        });
}

void KPXSepaCtrl::RegisterError(int32_t agNumber, const std::string& agSystemText) {
    if (!lcErrorMng) {
        NewErrorMng();  // a header written outside Separate
    }
    if (!agSystemText.empty()) {
        *systemText_ = agSystemText;
    }
    lcErrorMng->Register(agNumber);
}

bool KPXSepaCtrl::CheckVersionBlock(tkvFileRWCtrl& agFile) {
    if (PieceVersionBlock(&agFile).Check() != tkvVerRWCtrl::kSame) {
        RegisterError(kForeignVersion);
        return false;
    }
    return true;
}

bool KPXSepaCtrl::ReadHeader(KPXDividoraData& agRecord) {
    NewErrorMng();
    return ReadHeaderFields(agRecord);
}

bool KPXSepaCtrl::ReadHeaderFields(KPXDividoraData& agRecord) {
    if (tkvFileString::GetPathKind(agRecord.FileAddress()) != tkvFileString::kFile) {
        RegisterError(kHeaderFileMissing);
        return false;
    }
    // Pieces are only read, so they open read-only: pieces on read-only media can be joined.
    tkvFileRWCtrl file;
    file.SetFileAddress(agRecord.FileAddress());
    file.SetFileAccess(tkvFileRWCtrl::kReadOnly);
    if (!file.OpenForBinary()) {
        RegisterError(kHeaderFileNotOpened);
        return false;
    }
    try {
        if (!CheckVersionBlock(file)) {
            return false;
        }
        // Each field is stored as soon as it is read: a failure leaves the earlier ones.
        const auto notRead = [this] {
            RegisterError(kHeaderNotRead);
            return false;
        };
        double sepaDate = 0.0;
        int32_t number = 0;
        std::string fileName;
        if (!file.GetDate(sepaDate)) {
            return notRead();
        }
        agRecord.SetSepaDate(sepaDate);
        if (!file.GetLong(number)) {
            return notRead();
        }
        agRecord.SetSpecID(number);
        if (!file.GetLong(number)) {
            return notRead();
        }
        agRecord.SetTurnID(number);
        if (!file.GetLong(number)) {
            return notRead();
        }
        agRecord.SetCount(number);
        if (!file.GetStringChecking(KPXPieceFormat::kFileNameLimit, fileName)) {
            return notRead();
        }
        agRecord.SetFileName(fileName);
        if (!file.GetLong(number)) {
            return notRead();
        }
        agRecord.SetFileSize(number);
        // A name with a folder in it would let a crafted piece write outside the destination.
        if (!tkvFileString::IsPlainFileName(fileName)) {
            RegisterError(kBadFileName);
            return false;
        }
        const int64_t dataEnd = file.CurrentPoint() - 1 + int64_t{agRecord.FileSize()};
        const bool confirm = sepaData_ && sepaData_->ConfirmDividoraSize();
        if (agRecord.FileSize() < 0 || (confirm && dataEnd > file.FileLength())) {
            RegisterError(kBadDataSize);
            return false;
        }
    } catch (const tkvFileError&) {
        RegisterError(kHeaderNotRead);
        return false;
    }
    return true;
}

bool KPXSepaCtrl::PassOverHeader(tkvFileRWCtrl& agFile) {
    if (!CheckVersionBlock(agFile)) {
        return false;
    }
    double sepaDate = 0.0;
    int32_t number = 0;
    std::string fileName;
    if (!agFile.GetDate(sepaDate) || !agFile.GetLong(number) || !agFile.GetLong(number) ||
        !agFile.GetLong(number) ||
        !agFile.GetStringChecking(KPXPieceFormat::kFileNameLimit, fileName) ||
        !agFile.GetLong(number)) {
        RegisterError(kHeaderNotRead);
        return false;
    }
    return true;
}

bool KPXSepaCtrl::GetSizeOfHeader(int32_t& ouSize) {
    NewErrorMng();
    if (!sepaData_) {
        RegisterError(kNoSourceAddress);
        return false;
    }
    const std::string fileName = tkvFileString::GetFileNamePart(sepaData_->FileAddress());
    int32_t nameBytes = 0;
    if (!tkvStringControl::IsExactInCodePage(fileName) ||
        !tkvStringControl::GetByteLength(fileName, nameBytes)) {
        RegisterError(kNameNotStorable);
        return false;
    }
    ouSize = PieceVersionBlock(nullptr).GetSizeOfVersion() + KPXPieceFormat::kSplitFieldsSize +
             nameBytes;
    return true;
}

bool KPXSepaCtrl::WriteHeader(tkvFileRWCtrl& agFile, const KPXDividoraData& agRecord) {
    try {
        if (PieceVersionBlock(&agFile).Save() && agFile.SetDate(agRecord.SepaDate()) &&
            agFile.SetLong(agRecord.SpecID()) && agFile.SetLong(agRecord.TurnID()) &&
            agFile.SetLong(agRecord.Count()) && agFile.SetString(agRecord.FileName()) &&
            agFile.SetLong(agRecord.FileSize())) {
            return true;
        }
        RegisterError(kHeaderNotWritten);
    } catch (const tkvFileError& error) {
        RegisterError(kHeaderNotWritten, error.SystemText());
    }
    return false;
}
