#include "KPXUISepaAss.h"

#include <vector>

#include "KPXChecksumFile.h"
#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXExecutionLog.h"
#include "KPXRestoreEstimate.h"
#include "KPXResultPage.h"
#include "KPXSepaCtrl.h"
#include "KPXSeparateEstimate.h"
#include "KPXUIMsgBox.h"
#include "KPXUtilSettings.h"
#include "tkvCancelMng.h"
#include "tkvDateTime.h"
#include "tkvErrorAnalysis.h"
#include "tkvEventPump.h"
#include "tkvFileString.h"
#include "tkvShowHTMLToIE.h"
#include "tkvTypedNumber.h"

namespace {

using Operation = KPXUISepaAssWindow::Operation;
using PageSet = KPXUISepaAssWindow::PageSet;

// The texts of the numbers, keyed by the enum.
const char* ErrorText(KPXUISepaAss::Error agNumber) {
    switch (agNumber) {
        case KPXUISepaAss::kSizeNotNumeric:
            return "ﾌｧｲﾙの等分割ｻｲｽﾞが数字でありません。";
        case KPXUISepaAss::kCountNotNumeric:
            return "指定された分割数が数字でありません。";
        case KPXUISepaAss::kSourceMissing:
            return "指定された分割元ﾌｧｲﾙが存在しません。";
        case KPXUISepaAss::kSizeNotDecided:
            return "予期せぬｴﾗｰがﾌｧｲﾙｻｲｽﾞを計算／ｾｯﾄしている際に発生しました。";
        case KPXUISepaAss::kNamingFailed:
            return "予期せぬｴﾗｰがﾌｧｲﾙ名を命名している際に発生しました。";
        case KPXUISepaAss::kNoSepaAddress:
            return "分割先ｱﾄﾞﾚｽが指定されていません。";
        case KPXUISepaAss::kNoRestoreAddress:
            return "復元先ｱﾄﾞﾚｽが指定されていません。";
        case KPXUISepaAss::kPageNotCreated:
            return "HTMLﾌｧｲﾙを正常に作成できませんでした。";
    }
    return nullptr;
}

// The page set an operation locks besides the base.
PageSet PageSetOf(Operation agOperation) {
    return KPXUISepaAssWindow::IsSplit(agOperation) ? PageSet::kFramePageSeparateFile
                                                    : PageSet::kFramePageRestoreDividora;
}

}  // namespace

// The objects of one operation, made, connected to each other once, and dropped together when
// the operation ends.
struct KPXUISepaAss::Request {
    Request(Operation agOperation, KPXSepaCtrlEvents& agEvents,
            std::shared_ptr<KPXUtilSettings> agSettings)
        : Settings(std::move(agSettings)),
          lcErrorMng(std::make_shared<tkvErrorMng>(&KPXUISepaAss::lcErrorMng_GetDescription)),
          CancelMng(std::make_shared<tkvCancelMng>()),
          lcSepaCtrl(std::make_shared<KPXSepaCtrl>()),
          SepaData(std::make_shared<KPXSepaData>()) {
        lcSepaCtrl->SetEvents(&agEvents);
        lcSepaCtrl->SetCancelMng(CancelMng);
        lcSepaCtrl->SetSepaData(SepaData);
        SepaData->SetCancelMng(CancelMng);
        if (KPXUISepaAssWindow::IsSplit(agOperation)) {
            DecideFileSize = std::make_shared<KPXDecideFileSize>();
            DecideFileSize->SetCancelMng(CancelMng);
            DecideFileSize->SetSepaData(SepaData);
            DecideFileSize->SetSepaCtrl(lcSepaCtrl);
            DecideFileName = std::make_shared<KPXDecideFileName>();
            DecideFileName->SetCancelMng(CancelMng);
            DecideFileName->SetSepaData(SepaData);
        }
    }

    // The window's settings as the operation began. A window that closes while the operation
    // pumps its events lets go of its settings manager; the operation keeps reading this one.
    std::shared_ptr<KPXUtilSettings> Settings;
    std::shared_ptr<tkvErrorMng> lcErrorMng;
    std::shared_ptr<tkvCancelMng> CancelMng;
    // lcSeparateSepaCtrl of a split and its estimate, lcRestoreSepaCtrl of a restore and its
    // estimate; their events reach the handlers of that name.
    std::shared_ptr<KPXSepaCtrl> lcSepaCtrl;
    // SeparateSepaData or RestoreSepaData.
    std::shared_ptr<KPXSepaData> SepaData;
    // A split's and a split estimate's decisions.
    std::shared_ptr<KPXDecideFileSize> DecideFileSize;
    std::shared_ptr<KPXDecideFileName> DecideFileName;
};

// Receives the events of the split control.
class KPXUISepaAss::SeparateEvents : public KPXSepaCtrlEvents {
public:
    explicit SeparateEvents(KPXUISepaAss& agOwner) : owner_(agOwner) {}
    void StatusOfCreatingDividora(int32_t agCurrent, int32_t agTotal, const std::string&) override {
        owner_.lcSeparateSepaCtrl_StatusOfCreatingDividora(agCurrent, agTotal);
    }
    void OverwriteFile(const std::string& agFileAddress, bool& ouCancel) override {
        owner_.lcSeparateSepaCtrl_OverwriteFile(agFileAddress, ouCancel);
    }
    void StatusOfSeparatingFile(int64_t agPosition, int64_t agTotal) override {
        if (agPosition > 0) {  // a position counts from 1
            owner_.window_.ShowProgress(Operation::kSeparate, agPosition - 1, agTotal);
        }
    }

private:
    KPXUISepaAss& owner_;
};

// Receives the events of the restore control.
class KPXUISepaAss::RestoreEvents : public KPXSepaCtrlEvents {
public:
    explicit RestoreEvents(KPXUISepaAss& agOwner) : owner_(agOwner) {}
    void StatusOfReadingAllHeadersOfDividoras() override {
        owner_.lcRestoreSepaCtrl_StatusOfReadingAllHeadersOfDividoras();
    }
    void StatusOfConfirmingRestorability() override {
        owner_.lcRestoreSepaCtrl_StatusOfConfirmingRestorability();
    }
    void StatusOfReadingDividora(int32_t agCurrent, int32_t agTotal, const std::string&) override {
        owner_.lcRestoreSepaCtrl_StatusOfReadingDividora(agCurrent, agTotal);
    }
    void OverwriteFile(const std::string& agFileAddress, bool& ouCancel) override {
        owner_.lcRestoreSepaCtrl_OverwriteFile(agFileAddress, ouCancel);
    }
    void StatusOfRestoringToFile(int64_t agPosition, int64_t) override {
        // The position is in the restored file; the whole is the sum of the pieces.
        if (agPosition > 0 && owner_.request_) {
            owner_.window_.ShowProgress(Operation::kRestore, agPosition - 1,
                                        owner_.request_->SepaData->SourceFileSize());
        }
    }

private:
    KPXUISepaAss& owner_;
};

KPXUISepaAss::KPXUISepaAss(KPXUISepaAssWindow& agWindow)
    : window_(agWindow),
      separateEvents_(std::make_unique<SeparateEvents>(*this)),
      restoreEvents_(std::make_unique<RestoreEvents>(*this)) {}

KPXUISepaAss::~KPXUISepaAss() = default;

std::shared_ptr<tkvErrorMng> KPXUISepaAss::ErrorMng() const {
    return request_ ? request_->lcErrorMng : nullptr;
}

std::shared_ptr<tkvCancelMng> KPXUISepaAss::CancelMng() const {
    return request_ ? request_->CancelMng : nullptr;
}

void KPXUISepaAss::lcErrorMng_GetDescription(int32_t agNumber, std::string& ouDescription) {
    ouDescription = tkvErrorMng::TextOf(&ErrorText, agNumber);
}

bool KPXUISepaAss::EstimateSeparating() {
    return RunOperation(Operation::kEstimateSeparating, &KPXUISepaAss::WriteEstimateSeparating);
}

bool KPXUISepaAss::EstimateRestoring() {
    return RunOperation(Operation::kEstimateRestoring, &KPXUISepaAss::WriteEstimateRestoring);
}

bool KPXUISepaAss::Separate() {
    return RunOperation(Operation::kSeparate, &KPXUISepaAss::WriteSeparate);
}

bool KPXUISepaAss::Restore() {
    return RunOperation(Operation::kRestore, &KPXUISepaAss::WriteRestore);
}

bool KPXUISepaAss::RunOperation(Operation agOperation, BodyWriter agWriter) {
    const PageSet page = PageSetOf(agOperation);
    window_.SetDoButtonEnabled(agOperation, false);
    window_.SetPageSetFixed(page, true);
    window_.SetPageSetFixed(PageSet::kFramePageBase, true);
    request_ = std::make_unique<Request>(agOperation,
                                         KPXUISepaAssWindow::IsSplit(agOperation)
                                             ? static_cast<KPXSepaCtrlEvents&>(*separateEvents_)
                                             : static_cast<KPXSepaCtrlEvents&>(*restoreEvents_),
                                         window_.SepaMng());
    const bool result = WritePage(agOperation, agWriter);
    request_.reset();
    // A window that began to close meanwhile has cancelled and saved; its controls are going.
    if (window_.UnloadFlag()) {
        return result;
    }
    window_.SetPageSetFixed(PageSet::kFramePageBase, false);
    window_.SetPageSetFixed(page, false);
    window_.SetDoButtonEnabled(agOperation, true);
    return result;
}

bool KPXUISepaAss::WritePage(Operation agOperation, BodyWriter agWriter) {
    pageShown_ = false;
    page_.Clear();
    showHTMLToIE_ = std::make_shared<tkvShowHTMLToIE>();
    if (!showHTMLToIE_->CreateAddress()) {
        request_->lcErrorMng->Register(kPageNotCreated);
        ShowPageFailure(agOperation);
        return false;
    }
    KPXResultPage page(agOperation);
    const bool done = WriteBody(agWriter, page);
    if (!done && request_->CancelMng->IsCanceled()) {
        page.Cancelled();
    } else if (!done) {
        page.Failed(ErrorCauses(), FailedPiece());
    }
    page_ = page.Document();
    ShowPage(agOperation, page_);
    return done;
}

bool KPXUISepaAss::WriteBody(BodyWriter agWriter, KPXResultPage& ioPage) {
    // Whatever escapes the engine ends this request as a failure, with the causes known so far;
    // it must not take the window with it.
    try {
        return (this->*agWriter)(ioPage);
    } catch (const std::exception&) {
        return false;
    }
}

void KPXUISepaAss::ShowPage(Operation agOperation, const tkvPageDocument& agPage) {
    showHTMLToIE_->SetHTML(KPXResultPage::HTML(agPage, showHTMLToIE_->Address()));
    if (window_.UnloadFlag()) {
        return;
    }
    showHTMLToIE_->SetWebBrowser(window_.ResultView(agOperation));
    ShowStatus(agOperation, "結果を表示中...");
    pageShown_ = showHTMLToIE_->Show();
    if (pageShown_) {
        ShowStatus(agOperation, "");
    } else {
        ShowPageFailure(agOperation);
    }
}

std::string KPXUISepaAss::FailedPiece() const {
    const auto result = request_->lcSepaCtrl->SepaResult();
    const auto job = request_->SepaData;
    int32_t index = -1;
    if (!result || !result->GetErrorDataOfSeparatedFile(index) || index < 0 ||
        index >= job->DividoraCount() || !job->DividoraData(index)) {
        return {};
    }
    return job->DividoraData(index)->FileAddress();
}

std::vector<std::string> KPXUISepaAss::ErrorCauses() {
    tkvErrorAnalysis analysis;
    analysis.SetSortMode(tkvErrorAnalysis::kInnermostFirst);
    // The assistant is the head of the chain; the analysis only looks at it while it runs.
    analysis.Analyze(std::shared_ptr<tkvIError>(std::shared_ptr<void>(), this));
    return analysis.Descriptions();
}

void KPXUISepaAss::ShowStatus(Operation agOperation, const std::string& agText) {
    if (!window_.UnloadFlag()) {
        window_.SetStatusText(agOperation, agText);
    }
    tkvEventPump::ProcessEvents();
}

void KPXUISepaAss::ShowPageFailure(Operation agOperation) {
    // A full temporary folder must not look like a request that ended without a word.
    ShowStatus(agOperation, ErrorText(kPageNotCreated));
}

void KPXUISepaAss::CopySettings(KPXSepaData& agJob) const {
    const auto& settings = request_->Settings;
    agJob.SetConfirmFileSize(settings->ConfirmFileSize());
    agJob.SetConfirmDividoraSize(settings->ConfirmDividoraSize());
    agJob.SetTransmissionByteSize(settings->TransmissionByteSize());
    agJob.SetClearCreatedFileWhenUncompleted(settings->ClearCreatedFileWhenUncompleted());
}

bool KPXUISepaAss::TypedPieceSize(int32_t& ouBytes) const {
    double typed = 0;
    if (!tkvTypedNumber::Parse(window_.txtSeparateFileModeFileSize(), typed)) {
        return false;
    }
    // The typed size is read in single precision, as the window always has.
    const auto size = static_cast<float>(typed);
    return tkvTypedNumber::RoundToLong(
        static_cast<double>(size) * window_.cmbSeparateFileModeFileSizeUnit(), ouBytes);
}

bool KPXUISepaAss::TypedPieceCount(int32_t& ouCount) const {
    double typed = 0;
    return tkvTypedNumber::Parse(window_.txtSeparateFileModeCount(), typed) &&
           tkvTypedNumber::RoundToLong(typed, ouCount);
}

bool KPXUISepaAss::PrepareDecideFileSize(KPXDecideFileSize& agDecide) {
    tkvErrorMng& errors = *request_->lcErrorMng;
    const std::string source = window_.txtSeparateFileAddress();
    agDecide.SetUpperCountToWarn(request_->Settings->UpperCountToWarn());
    agDecide.SetSepaMode(1);
    agDecide.SetHowToSeparate(window_.cmbSeparateFileMode());
    bool converted = true;
    if (agDecide.HowToSeparate() == KPXDecideFileSize::kBySize) {
        int32_t bytes = 0;
        converted = TypedPieceSize(bytes);
        if (converted) {
            agDecide.SetFileSizeToSeparate(bytes);
            agDecide.SetIncludeSizeOfHeader(true);
            agDecide.SepaData()->SetFileAddress(source);
        }
    }
    if (agDecide.HowToSeparate() == KPXDecideFileSize::kByCount) {
        int32_t count = 0;
        converted = TypedPieceCount(count);
        if (converted) {
            agDecide.SetFileCountToSeparate(count);
        }
    }
    int64_t length = 0;
    const bool sourceExists = tkvFileString::GetPathKind(source) == tkvFileString::kFile;
    if (converted && sourceExists && tkvFileString::GetFileLength(source, length)) {
        agDecide.SetFileSize(length);
        if (agDecide.Decide()) {
            return true;
        }
        errors.SetReference(request_->DecideFileSize);
        return false;
    }
    // The inputs could not be converted: say which, as far as it can be told.
    double ignored = 0;
    const int32_t mode = agDecide.HowToSeparate();
    if (mode == KPXDecideFileSize::kBySize &&
        !tkvTypedNumber::Parse(window_.txtSeparateFileModeFileSize(), ignored)) {
        errors.Register(kSizeNotNumeric);
    }
    if (mode == KPXDecideFileSize::kByCount &&
        !tkvTypedNumber::Parse(window_.txtSeparateFileModeCount(), ignored)) {
        errors.Register(kCountNotNumeric);
    }
    if (!sourceExists) {
        errors.Register(kSourceMissing);
    }
    if (errors.Count() == 0) {
        errors.Register(kSizeNotDecided);
    }
    return false;
}

std::string KPXUISepaAss::ChecksumFileOfSplit() const {
    return KPXChecksumFile::AddressOfSplit(window_.txtSeparateFileSepaAddress(),
                                           window_.txtSeparateFileDividoraName(),
                                           window_.txtSeparateFileAddress());
}

bool KPXUISepaAss::PrepareDecideFileName(KPXDecideFileName& agDecide) {
    try {
        agDecide.SetBaseFileAddress(window_.txtSeparateFileSepaAddress());
        agDecide.SetBaseFileName(window_.txtSeparateFileDividoraName());
        agDecide.SetHowToName(window_.cmbSeparateFileHowToName());
        if (agDecide.Decide()) {
            return true;
        }
        request_->lcErrorMng->SetReference(request_->DecideFileName);
        return false;
    } catch (const std::exception&) {
        // Out of memory while naming thousands of pieces, say.
        request_->lcErrorMng->Register(kNamingFailed);
        return false;
    }
}

void KPXUISepaAss::AnswerOverwrite(const std::string& agFileAddress, bool& ouCancel) {
    if (overwriteAllFlag_) {
        return;
    }
    const int32_t answer = window_.OverwriteQuestion().MsgBox(agFileAddress);
    if (answer == KPXUIMsgBox::kYes) {
        return;
    }
    if (answer == KPXUIMsgBox::kAllYes) {
        overwriteAllFlag_ = true;
        return;
    }
    ouCancel = true;
}

void KPXUISepaAss::lcSeparateSepaCtrl_OverwriteFile(const std::string& agFileAddress,
                                                    bool& ouCancel) {
    AnswerOverwrite(agFileAddress, ouCancel);
}

void KPXUISepaAss::lcRestoreSepaCtrl_OverwriteFile(const std::string& agFileAddress,
                                                   bool& ouCancel) {
    AnswerOverwrite(agFileAddress, ouCancel);
}

void KPXUISepaAss::lcSeparateSepaCtrl_StatusOfCreatingDividora(int32_t agFirst, int32_t agSecond) {
    ShowStatus(Operation::kSeparate, "分割元ﾌｧｲﾙを分割中(" + std::to_string(agFirst) + "/" +
                                         std::to_string(agSecond) + ")...");
}

void KPXUISepaAss::lcRestoreSepaCtrl_StatusOfConfirmingRestorability() {
    ShowStatus(Operation::kRestore, "復元かどうかを確認中...");
}

void KPXUISepaAss::lcRestoreSepaCtrl_StatusOfReadingAllHeadersOfDividoras() {
    ShowStatus(Operation::kRestore, "すべての分割ﾌｧｲﾙのﾍｯﾀﾞを読み込み中");
}

void KPXUISepaAss::lcRestoreSepaCtrl_StatusOfReadingDividora(int32_t agFirst, int32_t agSecond) {
    ShowStatus(Operation::kRestore, "復元元ﾌｧｲﾙを読み込み中(" + std::to_string(agFirst) + "/" +
                                        std::to_string(agSecond) + ")...");
}

bool KPXUISepaAss::WriteEstimateSeparating(KPXResultPage& ioPage) {
    constexpr Operation kThis = Operation::kEstimateSeparating;
    estimateVerdict_ = false;
    estimatedPiecePaths_.clear();
    ShowStatus(kThis, "分割の実行予測を開始...");
    KPXSeparateEstimate::Findings findings;
    findings.Source = window_.txtSeparateFileAddress();
    findings.SourceExists = tkvFileString::GetPathKind(findings.Source) == tkvFileString::kFile;
    findings.Job = request_->SepaData;
    // The header is sized with the source's real name in both modes, so the estimate shows the
    // sizes the split will write.
    findings.Job->SetFileAddress(findings.Source);
    ShowStatus(kThis, "分割をｼﾐｭﾚｰﾄ中...");
    findings.SizeDecided = PrepareDecideFileSize(*request_->DecideFileSize);
    findings.NamesDecided = PrepareDecideFileName(*request_->DecideFileName);
    if (findings.SourceExists) {
        tkvFileString::GetFileLength(findings.Source, findings.SourceSize);
    }
    if (!request_->lcSepaCtrl->GetSizeOfHeader(findings.HeaderSize)) {
        request_->lcErrorMng->SetReference(request_->lcSepaCtrl);  // so the page names why
        return false;
    }
    const KPXSeparateEstimate estimate(std::move(findings), request_->CancelMng);
    if (!estimate.Write(ioPage.Body())) {
        return false;
    }
    estimateVerdict_ = estimate.Verdict();
    if (estimateVerdict_) {
        for (int32_t i = 0; i < request_->SepaData->DividoraCount(); ++i) {
            estimatedPiecePaths_.push_back(request_->SepaData->DividoraData(i)->FileAddress());
        }
    }
    return true;
}

bool KPXUISepaAss::WriteEstimateRestoring(KPXResultPage& ioPage) {
    constexpr Operation kThis = Operation::kEstimateRestoring;
    estimateVerdict_ = false;
    estimateSkippedCount_ = 0;
    ShowStatus(kThis, "復元の実行予測を開始...");
    const std::vector<std::string> list = window_.lstRestoreDividoraSepaAddress();
    if (list.empty()) {
        KPXRestoreEstimate::WriteNoPieces(ioPage.Body());
        return true;
    }
    KPXSepaData& job = *request_->SepaData;
    // The headers are read with the checks the restore itself will make, so the estimate
    // predicts it.
    CopySettings(job);
    if (!job.Initialize(static_cast<int32_t>(list.size()))) {
        return false;
    }
    ShowStatus(kThis, "ﾍｯﾀﾞを読み込んでいます...");
    std::vector<KPXRestoreEstimate::Piece> readable;
    std::vector<KPXRestoreEstimate::Piece> unreadable;
    for (int32_t i = 0; i < job.DividoraCount(); ++i) {
        const auto record = job.DividoraData(i);
        record->SetFileAddress(list[static_cast<size_t>(i)]);
        (request_->lcSepaCtrl->ReadHeader(*record) ? readable : unreadable).push_back(record);
        if (request_->CancelMng->IsCanceled()) {
            return false;
        }
    }
    ShowStatus(kThis, "分割IDなどの一致性を調べています...");
    KPXRestoreEstimate estimate(std::move(unreadable), request_->Settings->UpperCountToWarn(),
                                request_->CancelMng);
    if (!estimate.SortIntoKinds(readable)) {
        return false;
    }
    ShowStatus(kThis, "結合順を調べています...");
    if (!estimate.SortIntoSlots() || !estimate.Check() || !estimate.Write(ioPage.Body())) {
        return false;
    }
    estimateVerdict_ = estimate.Restorable();
    estimateSkippedCount_ = estimate.LargestSkippedCount();
    return true;
}

bool KPXUISepaAss::WriteSeparate(KPXResultPage& ioPage) {
    ShowStatus(Operation::kSeparate, "分割を開始...");
    Request& request = *request_;
    if (window_.txtSeparateFileSepaAddress().empty()) {
        request.lcErrorMng->Register(kNoSepaAddress);
        return false;
    }
    KPXSepaData& job = *request.SepaData;
    CopySettings(job);
    job.SetFileAddress(window_.txtSeparateFileAddress());
    job.SetSepaDate(tkvDateTime::Now());
    if (window_.WriteChecksumFile()) {
        job.SetChecksumFileAddress(ChecksumFileOfSplit());
    }
    if (!PrepareDecideFileSize(*request.DecideFileSize) ||
        !PrepareDecideFileName(*request.DecideFileName)) {
        return false;
    }
    if (!job.DecideSpecAndTurnID()) {
        request.lcErrorMng->SetReference(request.SepaData);
        return false;
    }
    if (!request.lcSepaCtrl->Separate()) {
        request.lcErrorMng->SetReference(request.lcSepaCtrl);
        return false;
    }
    KPXExecutionLog::WriteSeparateLog(ioPage.Body(), job, request.DecideFileName->BaseFileAddress(),
                                      *request.lcSepaCtrl->SepaResult());
    return true;
}

bool KPXUISepaAss::WriteRestore(KPXResultPage& ioPage) {
    ShowStatus(Operation::kRestore, "復元を開始...");
    Request& request = *request_;
    if (window_.txtRestoreDividoraAddress().empty()) {
        request.lcErrorMng->Register(kNoRestoreAddress);
        return false;
    }
    KPXSepaData& job = *request.SepaData;
    CopySettings(job);
    job.SetFileAddress(window_.txtRestoreDividoraAddress());
    job.SetChecksumFileAddress(window_.ChecksumFileAddress());
    request.lcSepaCtrl->SetOutputHandle(window_.RestoreStream());
    const std::vector<std::string> list = window_.lstRestoreDividoraSepaAddress();
    if (!job.Initialize(static_cast<int32_t>(list.size()))) {
        request.lcErrorMng->SetReference(request.SepaData);
        return false;
    }
    for (int32_t i = 0; i < job.DividoraCount(); ++i) {
        job.DividoraData(i)->SetFileAddress(list[static_cast<size_t>(i)]);
    }
    if (!request.lcSepaCtrl->Restore()) {
        request.lcErrorMng->SetReference(request.lcSepaCtrl);
        return false;
    }
    KPXExecutionLog::WriteRestoreLog(ioPage.Body(), job, *request.lcSepaCtrl->SepaResult(),
                                     window_.RestoreStream() != tkvFileHandle::kNoHandle);
    return true;
}
