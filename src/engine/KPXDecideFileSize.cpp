#include "KPXDecideFileSize.h"

#include "KPXPieceFormat.h"
#include "KPXSepaCtrl.h"
#include "KPXSepaData.h"
#include "tkvCancelMng.h"

namespace {

// The texts of the numbers, keyed by the enum.
const char* ErrorText(KPXDecideFileSize::Error agNumber) {
    switch (agNumber) {
        case KPXDecideFileSize::kBadFileSize:
            return "ﾌｧｲﾙｻｲｽﾞが適切な値(0より上)ではありません。";
        case KPXDecideFileSize::kBadPieceSize:
            return "ﾌｧｲﾙの等分割ｻｲｽﾞが適切な値(0より上)ではありません。";
        case KPXDecideFileSize::kTooManyPieces:
            return "警告する分割数の上限を超える分割数が算出されました。";
        case KPXDecideFileSize::kRecordsNotMade:
            return "分割ﾌｧｲﾙﾃﾞｰﾀの初期化ができません。";
        case KPXDecideFileSize::kPieceSmallerThanHeader:
            return "ﾌｧｲﾙの等分割ｻｲｽﾞがﾍｯﾀﾞｻｲｽﾞより小さな値のためﾌｧｲﾙｻｲｽﾞを分配できません。";
        case KPXDecideFileSize::kNoSepaCtrl:
            return "ﾍｯﾀﾞｻｲｽﾞの計算に必要な分割制御ｸﾗｽが指定されていません。";
        case KPXDecideFileSize::kPieceDataTooLarge:
            return "1つの分割ﾌｧｲﾙのﾃﾞｰﾀｻｲｽﾞが上限(2147483647ﾊﾞｲﾄ)を超えます。";
        case KPXDecideFileSize::kBadPieceCount:
            return "ﾌｧｲﾙの分割数が適切な値(0より上)ではありません。";
    }
    return nullptr;
}

}  // namespace

bool KPXDecideFileSize::Fail(int32_t agNumber) {
    lcErrorMng->Register(agNumber);
    return false;
}

bool KPXDecideFileSize::FailTooManyPieces(int64_t agCount) {
    // The text names neither number, and the user meets the limit far from where it is set.
    *tooManyPiecesDetail_ =
        "(分割数 " + std::to_string(agCount) + "、上限 " + std::to_string(upperCountToWarn_) +
        "。上限は「設定」の「環境」にある「警告する分割数の上限」で変更できます。)";
    return Fail(kTooManyPieces);
}

bool KPXDecideFileSize::Decide() {
    // The handler owns the detail, so the registry stays describable after this object is gone.
    auto detail = std::make_shared<std::string>();
    tooManyPiecesDetail_ = detail;
    lcErrorMng =
        std::make_shared<tkvErrorMng>([detail](int32_t agNumber, std::string& ouDescription) {
            ouDescription = tkvErrorMng::TextOf(&ErrorText, agNumber);
            if (agNumber == kTooManyPieces && !detail->empty()) {
                ouDescription += " " + *detail;
            }
        });
    if (sepaMode_ != 1) {
        return false;
    }
    if (howToSeparate_ == kBySize) {
        return DecideBySize();
    }
    return howToSeparate_ == kByCount && DecideByCount();
}

bool KPXDecideFileSize::DecideBySize() {
    if (fileSize_ <= 0) {
        return Fail(kBadFileSize);
    }
    if (fileSizeToSeparate_ < 1) {
        return Fail(kBadPieceSize);
    }
    int64_t dataSize = fileSizeToSeparate_;
    if (includeSizeOfHeader_) {
        if (!sepaCtrl_) {
            return Fail(kNoSepaCtrl);
        }
        int32_t headerSize = 0;
        if (!sepaCtrl_->GetSizeOfHeader(headerSize)) {
            lcErrorMng->SetReference(sepaCtrl_);  // the control's registry holds the cause
            return false;
        }
        dataSize -= headerSize;
        if (dataSize < 1) {
            return Fail(kPieceSmallerThanHeader);
        }
    }
    const int64_t full = fileSize_ / dataSize;
    const int64_t rest = fileSize_ % dataSize;
    const int64_t count = rest != 0 ? full + 1 : full;
    if (upperCountToWarn_ < count) {
        return FailTooManyPieces(count);
    }
    if (!InitializeRecords(count) || !SetSizes(0, full, dataSize)) {
        return false;
    }
    if (rest != 0) {
        sepaData_->DividoraData(static_cast<int32_t>(full))
            ->SetFileSize(static_cast<int32_t>(rest));
    }
    return true;
}

bool KPXDecideFileSize::DecideByCount() {
    if (fileSize_ <= 0) {
        return Fail(kBadFileSize);
    }
    if (fileCountToSeparate_ <= 0) {
        return Fail(kBadPieceCount);
    }
    const int64_t base = fileSize_ / fileCountToSeparate_;
    if (upperCountToWarn_ < fileCountToSeparate_) {
        return FailTooManyPieces(fileCountToSeparate_);
    }
    const int64_t extra = fileSize_ % fileCountToSeparate_;
    // A piece's data size is a 32-bit field of the format.
    if (base + (extra != 0 ? 1 : 0) > KPXPieceFormat::kMaxDataSize) {
        return Fail(kPieceDataTooLarge);
    }
    return InitializeRecords(fileCountToSeparate_) && SetSizes(0, extra, base + 1) &&
           SetSizes(extra, fileCountToSeparate_, base);
}

bool KPXDecideFileSize::InitializeRecords(int64_t agCount) {
    if (!sepaData_ || !sepaData_->Initialize(static_cast<int32_t>(agCount))) {
        lcErrorMng->Register(kRecordsNotMade);
        lcErrorMng->SetReference(sepaData_);
        return false;
    }
    return true;
}

bool KPXDecideFileSize::SetSizes(int64_t agFirst, int64_t agLast, int64_t agSize) {
    for (int64_t i = agFirst; i < agLast; ++i) {
        sepaData_->DividoraData(static_cast<int32_t>(i))->SetFileSize(static_cast<int32_t>(agSize));
        if (tkvCancelMng::IsCanceled(cancelMng_)) {
            return false;
        }
    }
    return true;
}
