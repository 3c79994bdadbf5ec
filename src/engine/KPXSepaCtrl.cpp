#include "KPXSepaCtrl.h"

#include <vector>

#include "KPXBlockCopy.h"
#include "KPXChecksumFile.h"
#include "KPXPieceFormat.h"
#include "KPXSepaCtrlEvents.h"
#include "tkvCancelMng.h"
#include "tkvDigest.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvStringControl.h"
#include "tkvVerRWCtrl.h"

namespace {

// The name of the stream a restore may write to instead of a file.
constexpr const char* kStreamName = "-";

// The texts of the numbers, keyed by the enum.
const char* ErrorText(KPXSepaCtrl::Error agNumber) {
    switch (agNumber) {
        case KPXSepaCtrl::kNoSepaData:
            return "分割機能ｸﾗｽにﾃﾞｰﾀｸﾗｽがｾｯﾄされていません。";
        case KPXSepaCtrl::kNoSource:
            return "分割元ﾌｧｲﾙが存在しません。";
        case KPXSepaCtrl::kNoPieces:
            return "分割数が0なので分割できません。";
        case KPXSepaCtrl::kBadTransmissionSize:
            return "1ﾃﾞｰﾀ転送ｻｲｽﾞが適切な値(0より上)ではありません。";
        case KPXSepaCtrl::kSizesDiffer:
            return "ﾃﾞｰﾀｸﾗｽのﾌｧｲﾙｻｲｽﾞの合計値が分割元のﾌｧｲﾙｻｲｽﾞと異なっています。";
        case KPXSepaCtrl::kSourceNotOpened:
            return "分割元ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。";
        case KPXSepaCtrl::kPieceIsSource:
            return "分割先ﾌｧｲﾙが分割元ﾌｧｲﾙと同じｱﾄﾞﾚｽです。";
        case KPXSepaCtrl::kSourceNameNotStorable:
            return "分割元ﾌｧｲﾙ名にﾍｯﾀﾞへ書き込めない文字が含まれています。";
        case KPXSepaCtrl::kPieceNotCreated:
            return "分割先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。";
        case KPXSepaCtrl::kSourceEndedEarly:
            return "分割元ﾌｧｲﾙのﾃﾞｰﾀが途中で終わっています。";
        case KPXSepaCtrl::kPieceWriteFailed:
            return "分割先ﾌｧｲﾙへの書き込みに失敗しました。";
        case KPXSepaCtrl::kSourceReadFailed:
            return "分割元ﾌｧｲﾙの読み込みに失敗しました。";
        case KPXSepaCtrl::kPieceTargetNotAFile:
            return "分割先ｱﾄﾞﾚｽにﾌｧｲﾙ以外のものが存在するため置き換えられません。";
        case KPXSepaCtrl::kSourceChanged:
            return "分割元ﾌｧｲﾙが分割中に変更されました。";
        case KPXSepaCtrl::kHeaderNotWritten:
            return "ﾍｯﾀﾞの書き込みに失敗しました。";
        case KPXSepaCtrl::kNoPieceFile:
            return "復元元ﾌｧｲﾙが存在しません。";
        case KPXSepaCtrl::kRestoredNotCreated:
            return "復元先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。";
        case KPXSepaCtrl::kNoPiecesToRestore:
            return "分割元ﾌｧｲﾙ数が0なので復元できません。";
        case KPXSepaCtrl::kRestoredIsPiece:
            return "復元先ﾌｧｲﾙが復元元ﾌｧｲﾙと同じｱﾄﾞﾚｽです。";
        case KPXSepaCtrl::kRestoredTargetNotAFile:
            return "復元先ｱﾄﾞﾚｽにﾌｧｲﾙ以外のものが存在するため置き換えられません。";
        case KPXSepaCtrl::kChecksumFileBad:
            return "ﾁｪｯｸｻﾑﾌｧｲﾙが壊れているか、別の分割のものです。";
        case KPXSepaCtrl::kNoChecksumFile:
            return "ﾁｪｯｸｻﾑﾌｧｲﾙが見つかりません。";
        case KPXSepaCtrl::kChecksumFileNotRead:
            return "ﾁｪｯｸｻﾑﾌｧｲﾙの読み込みに失敗しました。";
        case KPXSepaCtrl::kPieceNotOpened:
            return "復元元ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。";
        case KPXSepaCtrl::kPieceEndedEarly:
            return "復元元ﾌｧｲﾙのﾃﾞｰﾀが途中で終わっています。";
        case KPXSepaCtrl::kRestoredWriteFailed:
            return "復元先ﾌｧｲﾙへの書き込みに失敗しました。";
        case KPXSepaCtrl::kPieceReadFailed:
            return "復元元ﾌｧｲﾙの読み込みに失敗しました。";
        case KPXSepaCtrl::kPieceChanged:
            return "復元元ﾌｧｲﾙが確認後に変更されました。";
        case KPXSepaCtrl::kPieceDigestDiffers:
            return "復元元ﾌｧｲﾙのﾁｪｯｸｻﾑが一致しません。";
        case KPXSepaCtrl::kRestoredDigestDiffers:
            return "復元先ﾌｧｲﾙのﾁｪｯｸｻﾑが一致しません。";
        case KPXSepaCtrl::kHeaderFileNotOpened:
            return "ﾍｯﾀﾞ読み込みﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。";
        case KPXSepaCtrl::kHeaderFileMissing:
            return "ﾍｯﾀﾞ読み込みﾌｧｲﾙが存在しません。";
        case KPXSepaCtrl::kForeignVersion:
            return "ﾊﾞｰｼﾞｮﾝが異なる、もしくは、壊れたﾌｧｲﾙのためﾃﾞｰﾀを取得できません。";
        case KPXSepaCtrl::kHeaderNotRead:
            return "ﾍｯﾀﾞの読み込みに失敗しました。";
        case KPXSepaCtrl::kBadDataSize:
            return "復元元ﾌｧｲﾙのﾌｧｲﾙｻｲｽﾞ情報が異常です。";
        case KPXSepaCtrl::kBadFileName:
            return "ﾍｯﾀﾞの復元先ﾌｧｲﾙ名が不正です。";
        case KPXSepaCtrl::kSepaDateDiffers:
            return "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割日時が一致しません。";
        case KPXSepaCtrl::kSpecIDDiffers:
            return "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割IDが一致しません。";
        case KPXSepaCtrl::kCountDiffers:
            return "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割数が一致しません。";
        case KPXSepaCtrl::kFileNameDiffers:
            return "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の復元先ﾌｧｲﾙ名が一致しません。";
        case KPXSepaCtrl::kCountNotChosen:
            return "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割数とﾃﾞｰﾀｸﾗｽの分割数が一致しません。";
        case KPXSepaCtrl::kJoinOrderGap:
            return "分割元ﾌｧｲﾙが足りない、もしくは、重複しているため結合順序を割り振りできません。";
        case KPXSepaCtrl::kJoinOrderFailed:
            return "分割元ﾌｧｲﾙの結合順を決定していた際にｴﾗｰが発生しました。";
        case KPXSepaCtrl::kOverwriteRefused:
            return "上書き保存のｲﾍﾞﾝﾄの後、実行をｷｬﾝｾﾙされました。";
        case KPXSepaCtrl::kNoSourceAddress:
            return "ﾍｯﾀﾞに書き込む分割元のﾌｧｲﾙｱﾄﾞﾚｽが指定されていません。";
        case KPXSepaCtrl::kNameNotStorable:
            return "分割元ﾌｧｲﾙ名にﾍｯﾀﾞへ書き込めない文字が含まれています。";
    }
    return nullptr;
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
    // The handler owns the details it appends, so the registry stays describable after this
    // control is gone.
    auto details = std::make_shared<std::map<int32_t, std::string>>();
    details_ = details;
    lcErrorMng =
        std::make_shared<tkvErrorMng>([details](int32_t agNumber, std::string& ouDescription) {
            ouDescription = tkvErrorMng::TextOf(&ErrorText, agNumber);
            const auto found = details->find(agNumber);
            if (found != details->end() && !found->second.empty()) {
                ouDescription += " " + found->second;
            }
        });
}

void KPXSepaCtrl::RegisterError(int32_t agNumber, const std::string& agDetail) {
    if (!lcErrorMng) {
        NewErrorMng();  // a header written outside Separate
    }
    if (!agDetail.empty()) {
        (*details_)[agNumber] = agDetail;
    }
    lcErrorMng->Register(agNumber);
}

bool KPXSepaCtrl::CheckVersionBlock(tkvFileRWCtrl& agFile) {
    if (KPXPieceFormat::VersionBlock(&agFile).Check() != tkvVerRWCtrl::kSame) {
        RegisterError(kForeignVersion);
        return false;
    }
    return true;
}

bool KPXSepaCtrl::ReadHeader(KPXDividoraData& agRecord) {
    NewErrorMng();
    return ReadHeaderFields(agRecord, nullptr);
}

bool KPXSepaCtrl::ReadHeaderFields(KPXDividoraData& agRecord,
                                   tkvFileString::FileIdentity* ouIdentity) {
    headerUnreadable_ = false;
    const std::string& path = agRecord.FileAddress();
    if (tkvFileString::GetPathKind(path) != tkvFileString::kFile) {
        RegisterError(kHeaderFileMissing);
        return false;
    }
    // Pieces are only read, so they open read-only: pieces on read-only media can be joined.
    tkvFileRWCtrl file;
    file.SetFileAddress(path);
    file.SetFileAccess(tkvFileRWCtrl::kReadOnly);
    if (!file.OpenForBinary()) {
        // The callers name the piece; the reason is what only the system can tell.
        headerUnreadable_ = true;
        RegisterError(kHeaderFileNotOpened, file.OpenFailure());
        return false;
    }
    try {
        if (ouIdentity != nullptr) {
            *ouIdentity = file.Identity();
        }
        return DecodeHeader(file, agRecord);
    } catch (const tkvFileError& error) {
        headerUnreadable_ = true;
        RegisterError(kHeaderNotRead, error.SystemText());
        return false;
    }
}

bool KPXSepaCtrl::DecodeHeader(tkvFileRWCtrl& agFile, KPXDividoraData& agRecord) {
    if (!CheckVersionBlock(agFile)) {
        return false;
    }
    // Each field is stored as soon as it is read: a failure leaves the earlier ones.
    if (!KPXPieceFormat::DecodeFields(agFile, agRecord)) {
        RegisterError(kHeaderNotRead);
        return false;
    }
    const std::string& fileName = agRecord.FileName();
    // A name with a folder in it would let a crafted piece write outside the destination; one
    // with a control character no peer can create, and it could drive a terminal.
    if (!tkvFileString::IsPlainFileName(fileName)) {
        RegisterError(kBadFileName);
        return false;
    }
    // With the check on, nothing may follow the data either: a damaged FileSize that claims
    // fewer bytes would otherwise restore a shorter, shifted file.
    const int64_t dataEnd = agFile.CurrentPoint() - 1 + int64_t{agRecord.FileSize()};
    const bool confirm = sepaData_ && sepaData_->ConfirmDividoraSize();
    if (agRecord.FileSize() < 0 || (confirm && dataEnd != agFile.FileLength())) {
        RegisterError(kBadDataSize);
        return false;
    }
    return true;
}

bool KPXSepaCtrl::CheckPieceUnchanged(tkvFileRWCtrl& agFile, const KPXDividoraData& agRecord) {
    const auto checked = checkedPieces_.find(&agRecord);
    if (checked == checkedPieces_.end() || agFile.Identity() != checked->second) {
        return Fail(kPieceChanged);
    }
    KPXDividoraData now;
    if (!DecodeHeader(agFile, now)) {
        return false;
    }
    return KPXPieceFormat::SameFields(now, agRecord) || Fail(kPieceChanged);
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
    ouSize = KPXPieceFormat::VersionBlock(nullptr).GetSizeOfVersion() +
             KPXPieceFormat::kSplitFieldsSize + nameBytes;
    return true;
}

bool KPXSepaCtrl::WriteHeader(tkvFileRWCtrl& agFile, const KPXDividoraData& agRecord) {
    try {
        if (KPXPieceFormat::VersionBlock(&agFile).Save() &&
            KPXPieceFormat::EncodeFields(agRecord, agFile)) {
            return true;
        }
        RegisterError(kHeaderNotWritten);
    } catch (const tkvFileError& error) {
        RegisterFileError(kHeaderNotWritten, UserPath(agFile.FileAddress()), error.SystemText());
    }
    return false;
}

KPXSepaCtrlEvents& KPXSepaCtrl::Events() const {
    static KPXSepaCtrlEvents nobody;
    return events_ != nullptr ? *events_ : nobody;
}

bool KPXSepaCtrl::RunWithCleanUp(bool (KPXSepaCtrl::*agRun)(), int32_t agReadFailure,
                                 int32_t agWriteFailure) {
    NewErrorMng();
    sepaResult_ = std::make_shared<KPXSepaResult>();
    stagedFiles_ = std::make_unique<tkvStagedFiles>();
    checkedPieces_.clear();
    bool done = false;
    try {
        done = (this->*agRun)();
    } catch (const tkvFileError& error) {
        // The files a run writes are its temporary files and the stream; every other file it
        // touches it only reads.
        const bool written = error.IsWrite() || UserPath(error.Path()) != error.Path();
        RegisterFileError(written ? agWriteFailure : agReadFailure, UserPath(error.Path()),
                          error.SystemText());
    }
    // The run's files are closed by now: they were local to it. Files that were there before
    // are untouched either way: they are only replaced when the run commits.
    if (!done && sepaData_ && sepaData_->ClearCreatedFileWhenUncompleted()) {
        stagedFiles_->DiscardAll();
    } else if (!done) {
        stagedFiles_->KeepAll();
    }
    stagedFiles_.reset();
    checkedPieces_.clear();
    return done;
}

bool KPXSepaCtrl::Fail(int32_t agNumber, int32_t agErrorIndex) {
    RegisterError(agNumber);
    if (agErrorIndex != -1) {
        sepaResult_->SetErrorIndex(agErrorIndex);
    }
    return false;
}

bool KPXSepaCtrl::IsCanceled() const { return tkvCancelMng::IsCanceled(cancelMng_); }

void KPXSepaCtrl::RegisterFileError(int32_t agNumber, const std::string& agPath,
                                    const std::string& agSystemText) {
    RegisterError(agNumber, agPath.empty() ? agSystemText : agPath + ": " + agSystemText);
}

std::string KPXSepaCtrl::UserPath(const std::string& agPath) const {
    return stagedFiles_ ? stagedFiles_->FinalPathOf(agPath) : agPath;
}

bool KPXSepaCtrl::CreateTarget(tkvFileRWCtrl& agFile, const std::string& agPath, int32_t agNotAFile,
                               int32_t agNotCreated) {
    std::string what;
    const auto state = tkvFileString::InspectTarget(agPath, what);
    if (state == tkvFileString::TargetState::kNotAFile) {
        RegisterError(agNotAFile, agPath + " (" + what + ")");
        return false;
    }
    if (state == tkvFileString::TargetState::kReplaceable) {
        bool cancel = false;
        Events().OverwriteFile(agPath, cancel);
        if (cancel) {
            return Fail(kOverwriteRefused);
        }
    }
    agFile.SetFileAddress(
        stagedFiles_->Stage(agPath, state == tkvFileString::TargetState::kReplaceable));
    if (!agFile.OpenForBinaryClearing()) {
        stagedFiles_->Unstage();
        RegisterFileError(agNotCreated, agPath, agFile.OpenFailure());
        return false;
    }
    // Only files this run created are recorded, so the clean-up never touches others.
    sepaResult_->AddCreatedFile(agPath);
    return true;
}

bool KPXSepaCtrl::CopyFailed(const KPXBlockCopy& agCopy, KPXBlockCopy::Result agResult,
                             const tkvFileRWCtrl& agReader, const tkvFileRWCtrl* agWriter,
                             int32_t agEndedEarly, int32_t agReadFailed, int32_t agWriteFailed) {
    if (agResult == KPXBlockCopy::kReaderEnded) {
        RegisterError(agEndedEarly, agReader.FileAddress());
    } else if (agResult == KPXBlockCopy::kReadFailed) {
        RegisterFileError(agReadFailed, agReader.FileAddress(), agCopy.SystemText());
    } else if (agResult == KPXBlockCopy::kWriteFailed && agWriter != nullptr) {
        RegisterFileError(agWriteFailed, UserPath(agWriter->FileAddress()), agCopy.SystemText());
    }
    return false;  // a cancel registers nothing
}

bool KPXSepaCtrl::FinishTarget(tkvFileRWCtrl& agFile, int32_t agWriteFailed) {
    try {
        agFile.FinishWriting();
    } catch (const tkvFileError& error) {
        RegisterFileError(agWriteFailed, UserPath(agFile.FileAddress()), error.SystemText());
        return false;
    }
    return true;
}

bool KPXSepaCtrl::CommitTargets(int32_t agWriteFailed) {
    std::string failedPath;
    std::string systemText;
    // The last look for a cancel comes right before the first rename: once the files take
    // their final names, the run is done.
    if (stagedFiles_->CommitAll(failedPath, systemText, [this] { return IsCanceled(); })) {
        return true;
    }
    if (!failedPath.empty()) {
        RegisterFileError(agWriteFailed, failedPath, systemText);
    }
    return false;
}

bool KPXSepaCtrl::Separate() {
    return RunWithCleanUp(&KPXSepaCtrl::RunSeparate, kSourceReadFailed, kPieceWriteFailed);
}

bool KPXSepaCtrl::CheckSeparateJob() {
    if (!sepaData_) {
        return Fail(kNoSepaData);
    }
    const std::string& source = sepaData_->FileAddress();
    if (tkvFileString::GetPathKind(source) != tkvFileString::kFile) {
        return Fail(kNoSource);
    }
    if (sepaData_->DividoraCount() <= 0) {
        return Fail(kNoPieces);
    }
    if (sepaData_->TransmissionByteSize() <= 0) {
        return Fail(kBadTransmissionSize);
    }
    // The headers must be able to carry the name exactly, or the restore would recreate
    // another file (or none).
    const std::string name = tkvFileString::GetFileNamePart(source);
    if (!tkvFileString::IsPlainFileName(name) || !tkvStringControl::IsExactInCodePage(name)) {
        return Fail(kSourceNameNotStorable);
    }
    // Writing a target that is the source would replace it with its own pieces or checksums.
    const auto isSource = [&](const std::string& agTarget) {
        return agTarget == source || tkvFileString::IsSameFile(agTarget, source);
    };
    for (int32_t i = 0; i < sepaData_->DividoraCount(); ++i) {
        const auto record = sepaData_->DividoraData(i);
        if (!record) {
            return Fail(kNoPieces, i);
        }
        if (isSource(record->FileAddress())) {
            return Fail(kPieceIsSource, i);
        }
    }
    if (!sepaData_->ChecksumFileAddress().empty() && isSource(sepaData_->ChecksumFileAddress())) {
        return Fail(kPieceIsSource);
    }
    return true;
}

bool KPXSepaCtrl::RunSeparate() {
    if (!CheckSeparateJob()) {
        return false;
    }
    // The source is only read: it opens read-only, so sources on read-only media split.
    tkvFileRWCtrl source;
    if (!OpenSource(source)) {
        return false;
    }
    const int64_t sourceSize = sepaData_->SourceFileSize();
    if (sepaData_->ConfirmFileSize()) {
        int64_t sum = 0;
        for (int32_t i = 0; i < sepaData_->DividoraCount(); ++i) {
            sum += sepaData_->DividoraData(i)->FileSize();
            if (IsCanceled()) {
                return false;
            }
        }
        if (sum != sourceSize) {
            return Fail(kSizesDiffer);
        }
    }
    KPXBlockCopy copy(sepaData_->TransmissionByteSize(), cancelMng_);
    const int32_t count = sepaData_->DividoraCount();
    // The digests are taken as the bytes pass, never by a second read.
    const bool withChecksum = !sepaData_->ChecksumFileAddress().empty();
    tkvDigest sourceDigest;
    KPXChecksumFile checksum;
    if (withChecksum) {
        source.SetDigest(&sourceDigest);
    }
    for (int32_t i = 0; i < count; ++i) {
        const auto record = sepaData_->DividoraData(i);
        Events().StatusOfCreatingDividora(i + 1, count,
                                          tkvFileString::GetFileNamePart(record->FileAddress()));
        std::string digest;
        if (!WritePiece(source, copy, *record, withChecksum ? &digest : nullptr) ||
            !CheckSourceUnchanged(source)) {
            sepaResult_->SetErrorIndex(i);
            return false;
        }
        checksum.Pieces.push_back({digest, tkvFileString::GetFileNamePart(record->FileAddress())});
        if (IsCanceled()) {
            return false;
        }
    }
    if (withChecksum) {
        const auto first = sepaData_->DividoraData(0);
        checksum.SpecID = first->SpecID();
        checksum.SepaDate = first->SepaDate();
        checksum.Count = first->Count();
        checksum.SourceDigest = sourceDigest.Text();
        if (!WriteChecksumFile(checksum)) {
            return false;
        }
    }
    return CommitTargets(kPieceWriteFailed);
}

bool KPXSepaCtrl::OpenSource(tkvFileRWCtrl& agSource) {
    const std::string& path = sepaData_->FileAddress();
    agSource.SetFileAddress(path);
    agSource.SetFileAccess(tkvFileRWCtrl::kReadOnly);
    if (!agSource.OpenForBinary()) {
        RegisterFileError(kSourceNotOpened, path, agSource.OpenFailure());
        return false;
    }
    sourceStamp_ = agSource.Stamp();
    sepaData_->SetSourceFileSize(sourceStamp_.Length);
    return true;
}

bool KPXSepaCtrl::CheckSourceUnchanged(const tkvFileRWCtrl& agSource) {
    if (agSource.Stamp() == sourceStamp_) {
        return true;
    }
    RegisterError(kSourceChanged, agSource.FileAddress());
    return false;
}

bool KPXSepaCtrl::WriteChecksumFile(const KPXChecksumFile& agChecksum) {
    const std::string& path = sepaData_->ChecksumFileAddress();
    tkvFileRWCtrl file;
    if (!CreateTarget(file, path, kPieceTargetNotAFile, kPieceNotCreated)) {
        return false;
    }
    try {
        const std::string text = agChecksum.ToText();
        file.WriteBlock(text.data(), static_cast<int64_t>(text.size()));
    } catch (const tkvFileError& error) {
        RegisterFileError(kPieceWriteFailed, path, error.SystemText());
        return false;
    }
    sepaResult_->SetChecksumFileAddress(path);
    return FinishTarget(file, kPieceWriteFailed);
}

bool KPXSepaCtrl::WritePiece(tkvFileRWCtrl& agSource, KPXBlockCopy& agCopy,
                             const KPXDividoraData& agRecord, std::string* ouDigest) {
    const int64_t sourceSize = sepaData_->SourceFileSize();
    Events().StatusOfSeparatingFile(0, sourceSize);
    Events().StatusOfSeparatingToFile(0, agRecord.FileSize());
    tkvFileRWCtrl piece;
    if (!CreateTarget(piece, agRecord.FileAddress(), kPieceTargetNotAFile, kPieceNotCreated)) {
        return false;
    }
    tkvDigest digest;
    if (ouDigest != nullptr) {
        piece.SetDigest(&digest);
    }
    if (!WriteHeader(piece, agRecord)) {
        return false;
    }
    const auto result = agCopy.Copy(agSource, piece, agRecord.FileSize(), [&] {
        Events().StatusOfSeparatingFile(agSource.CurrentPoint(), sourceSize);
        Events().StatusOfSeparatingToFile(piece.CurrentPoint(), agRecord.FileSize());
    });
    if (result != KPXBlockCopy::kCopied) {
        // A source cut short while it was read ends the copy early: that it changed is the cause.
        if (result == KPXBlockCopy::kReaderEnded && !CheckSourceUnchanged(agSource)) {
            return false;
        }
        return CopyFailed(agCopy, result, agSource, &piece, kSourceEndedEarly, kSourceReadFailed,
                          kPieceWriteFailed);
    }
    if (ouDigest != nullptr) {
        *ouDigest = digest.Text();
    }
    return FinishTarget(piece, kPieceWriteFailed);
}

bool KPXSepaCtrl::Restore() {
    return RunWithCleanUp(&KPXSepaCtrl::RunRestore, kPieceReadFailed, kRestoredWriteFailed);
}

bool KPXSepaCtrl::CheckRestoreJob() {
    if (!sepaData_) {
        return Fail(kNoSepaData);
    }
    if (sepaData_->DividoraCount() <= 0) {
        return Fail(kNoPiecesToRestore);
    }
    if (sepaData_->TransmissionByteSize() <= 0) {
        return Fail(kBadTransmissionSize);
    }
    return true;
}

bool KPXSepaCtrl::RunRestore() {
    if (!CheckRestoreJob() || !CheckSet()) {
        return false;
    }
    tkvFileRWCtrl restored;
    const bool toStream = outputHandle_ != tkvFileHandle::kNoHandle;
    if (toStream) {
        restored.AdoptStream(outputHandle_, kStreamName);
    } else {
        const std::string restoredPath = tkvFileString::JoinFolderAndName(
            sepaData_->FileAddress(), sepaData_->DividoraData(0)->FileName());
        if (!CheckRestoredIsNoPiece(restoredPath) ||
            !CreateTarget(restored, restoredPath, kRestoredTargetNotAFile, kRestoredNotCreated)) {
            return false;
        }
    }
    if (!CopyPieces(&restored)) {
        return false;
    }
    return toStream ||
           (FinishTarget(restored, kRestoredWriteFailed) && CommitTargets(kRestoredWriteFailed));
}

bool KPXSepaCtrl::Verify() {
    return RunWithCleanUp(&KPXSepaCtrl::RunVerify, kPieceReadFailed, kRestoredWriteFailed);
}

bool KPXSepaCtrl::RunVerify() {
    if (!CheckRestoreJob() || !CheckSet()) {
        return false;
    }
    return (checksum_ || Fail(kNoChecksumFile)) && CopyPieces(nullptr);
}

bool KPXSepaCtrl::CheckSet() {
    Events().StatusOfReadingAllHeadersOfDividoras();
    if (!ReadAllHeaders()) {
        return false;
    }
    Events().StatusOfConfirmingRestorability();
    return ConfirmRestorability() && PutIntoJoinOrder() && FindChecksumFile();
}

bool KPXSepaCtrl::FindChecksumFile() {
    checksum_.reset();
    const KPXDividoraData& first = *sepaData_->DividoraData(0);
    std::vector<std::string> candidates;
    if (!sepaData_->ChecksumFileAddress().empty()) {
        candidates.push_back(sepaData_->ChecksumFileAddress());
    } else {
        std::vector<std::string> pieces;
        for (int32_t i = 0; i < sepaData_->DividoraCount(); ++i) {
            pieces.push_back(sepaData_->DividoraData(i)->FileAddress());
        }
        candidates = KPXChecksumFile::FindBeside(pieces, first);
        if (candidates.empty()) {
            return true;  // the data cannot be verified, as before there were checksum files
        }
    }
    for (const std::string& path : candidates) {
        KPXChecksumFile checksum;
        std::string systemText;
        if (checksum.Read(path, &systemText) && checksum.Belongs(first)) {
            checksum_ = std::move(checksum);
            sepaResult_->SetChecksumFileAddress(path);
            return true;
        }
        if (!systemText.empty()) {
            RegisterFileError(kChecksumFileNotRead, path, systemText);
            return false;
        }
    }
    RegisterError(kChecksumFileBad, candidates.front());
    return false;
}

bool KPXSepaCtrl::CopyPieces(tkvFileRWCtrl* agRestored) {
    KPXBlockCopy copy(sepaData_->TransmissionByteSize(), cancelMng_);
    tkvDigest wholeDigest;
    if (checksum_) {
        copy.SetDataDigest(&wholeDigest);
    }
    const int32_t count = sepaData_->DividoraCount();
    int64_t done = 0;
    int32_t firstDiffering = -1;
    for (int32_t i = 0; i < count; ++i) {
        const auto record = sepaData_->DividoraData(i);
        Events().StatusOfReadingDividora(i + 1, count,
                                         tkvFileString::GetFileNamePart(record->FileAddress()));
        bool differs = false;
        if (!CopyPiece(agRestored, copy, *record, done, differs)) {
            sepaResult_->SetErrorIndex(i);
            return false;
        }
        if (IsCanceled()) {
            return false;
        }
        if (differs && firstDiffering < 0) {
            firstDiffering = i;
        }
        // A restore stops at the first damaged piece; a verify goes on so that it can name
        // every piece to fetch again.
        if (firstDiffering >= 0 && agRestored != nullptr) {
            break;
        }
    }
    if (firstDiffering >= 0) {
        RegisterError(kPieceDigestDiffers, sepaData_->DividoraData(firstDiffering)->FileAddress());
        sepaResult_->SetErrorIndex(firstDiffering);
        return false;
    }
    if (checksum_) {
        if (wholeDigest.Text() != checksum_->SourceDigest) {
            return Fail(kRestoredDigestDiffers);
        }
        sepaResult_->SetVerified(true);
    }
    return true;
}

bool KPXSepaCtrl::ReadAllHeaders() {
    int64_t total = 0;
    for (int32_t i = 0; i < sepaData_->DividoraCount(); ++i) {
        const auto record = sepaData_->DividoraData(i);
        if (!record || tkvFileString::GetPathKind(record->FileAddress()) != tkvFileString::kFile) {
            return Fail(kNoPieceFile, i);
        }
        tkvFileString::FileIdentity identity;
        if (!ReadHeaderFields(*record, &identity)) {
            sepaResult_->SetErrorIndex(i);
            return false;
        }
        checkedPieces_[record.get()] = identity;
        total += record->FileSize();
        if (IsCanceled()) {
            return false;
        }
    }
    sepaData_->SetSourceFileSize(total);
    return true;
}

bool KPXSepaCtrl::ConfirmRestorability() {
    const auto reference = sepaData_->DividoraData(0);
    for (int32_t i = 1; i < sepaData_->DividoraCount(); ++i) {
        const auto record = sepaData_->DividoraData(i);
        if (record->SpecID() != reference->SpecID()) {
            return Fail(kSpecIDDiffers, i);
        }
        if (!KPXPieceFormat::SameSplit(*record, *reference)) {
            return Fail(kSepaDateDiffers, i);  // the identifiers are equal: the dates differ
        }
        if (record->Count() != reference->Count()) {
            return Fail(kCountDiffers, i);
        }
        if (record->FileName() != reference->FileName()) {
            return Fail(kFileNameDiffers, i);
        }
        if (IsCanceled()) {
            return false;
        }
    }
    if (reference->Count() != sepaData_->DividoraCount()) {
        return Fail(kCountNotChosen, 0);
    }
    return true;
}

bool KPXSepaCtrl::PutIntoJoinOrder() {
    const int32_t count = sepaData_->DividoraCount();
    // As many slots as pieces: a duplicated position always leaves another one empty.
    std::vector<std::shared_ptr<KPXDividoraData>> table(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const auto record = sepaData_->DividoraData(i);
        if (record->TurnID() < 0 || record->TurnID() >= count) {
            return Fail(kJoinOrderFailed, i);
        }
        table[static_cast<size_t>(record->TurnID())] = record;
        if (IsCanceled()) {
            return false;
        }
    }
    for (const auto& slot : table) {
        if (!slot) {
            return Fail(kJoinOrderGap);
        }
    }
    for (int32_t k = 0; k < count; ++k) {
        sepaData_->SetDividoraData(k, table[static_cast<size_t>(k)]);
        if (IsCanceled()) {
            return false;
        }
    }
    return true;
}

bool KPXSepaCtrl::CheckRestoredIsNoPiece(const std::string& agRestoredPath) {
    // Creating the restored file would first delete that piece.
    for (int32_t i = 0; i < sepaData_->DividoraCount(); ++i) {
        if (tkvFileString::IsSameFile(agRestoredPath, sepaData_->DividoraData(i)->FileAddress())) {
            return Fail(kRestoredIsPiece, i);
        }
    }
    return true;
}

bool KPXSepaCtrl::CopyPiece(tkvFileRWCtrl* agRestored, KPXBlockCopy& agCopy,
                            const KPXDividoraData& agRecord, int64_t& ioDone, bool& ouDiffers) {
    const int64_t total = sepaData_->SourceFileSize();
    Events().StatusOfRestoringFile(0, total);
    Events().StatusOfRestoringToFile(0, agRecord.FileSize());
    tkvFileRWCtrl piece;
    piece.SetFileAddress(agRecord.FileAddress());
    piece.SetFileAccess(tkvFileRWCtrl::kReadOnly);
    if (!piece.OpenForBinary()) {
        RegisterFileError(kPieceNotOpened, agRecord.FileAddress(), piece.OpenFailure());
        return false;
    }
    tkvDigest digest;
    if (checksum_) {
        piece.SetDigest(&digest);  // the whole piece file, its header included
    }
    if (!CheckPieceUnchanged(piece, agRecord)) {
        return false;
    }
    const int64_t dataStart = piece.CurrentPoint();
    const auto afterBlock = [&] {
        Events().StatusOfRestoringFile(piece.CurrentPoint(), total);
        // The position in the restored file, counted from 1.
        Events().StatusOfRestoringToFile(ioDone + piece.CurrentPoint() - dataStart + 1,
                                         agRecord.FileSize());
    };
    const auto result = agRestored != nullptr
                            ? agCopy.Copy(piece, *agRestored, agRecord.FileSize(), afterBlock)
                            : agCopy.Read(piece, agRecord.FileSize(), afterBlock);
    if (result != KPXBlockCopy::kCopied) {
        return CopyFailed(agCopy, result, piece, agRestored, kPieceEndedEarly, kPieceReadFailed,
                          kRestoredWriteFailed);
    }
    ioDone += agRecord.FileSize();
    if (checksum_) {
        // Bytes after the data (kept without the size check) belong to the file's digest too.
        KPXBlockCopy rest(sepaData_->TransmissionByteSize(), nullptr);
        const auto restRead =
            rest.Read(piece, piece.FileLength() - (piece.CurrentPoint() - 1), [] {});
        if (restRead != KPXBlockCopy::kCopied) {
            return CopyFailed(rest, restRead, piece, nullptr, kPieceEndedEarly, kPieceReadFailed,
                              kRestoredWriteFailed);
        }
        if (digest.Text() != checksum_->Pieces[static_cast<size_t>(agRecord.TurnID())].Digest) {
            sepaResult_->AddDifferingPiece(agRecord.FileAddress());
            ouDiffers = true;
        }
    }
    piece.CloseFile();
    return true;
}
