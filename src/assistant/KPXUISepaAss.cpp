#include "KPXUISepaAss.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXRestoreEstimate.h"
#include "KPXSepaCtrl.h"
#include "KPXUIMsgBox.h"
#include "KPXUtilSettings.h"
#include "tkvCancelMng.h"
#include "tkvDateTime.h"
#include "tkvErrorAnalysis.h"
#include "tkvEventPump.h"
#include "tkvFileString.h"
#include "tkvFormat.h"
#include "tkvShowHTMLToIE.h"

namespace {

using Operation = KPXUISepaAssWindow::Operation;
using PageSet = KPXUISepaAssWindow::PageSet;

const std::string kBlock = "<blockquote style=\"MARGIN-RIGHT: 0px\">";

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

// What differs between the four pages.
struct PageRow {
    PageSet Page;
    const char* Title;
    const char* Failure;
    const char* Cancel;
};

PageRow RowOf(Operation agOperation) {
    switch (agOperation) {
        case Operation::kEstimateSeparating:
            return {PageSet::kFramePageSeparateFile, "<p><b>分割予測結果</b></p>",
                    "<font size=2><p>分割予測の実行は失敗しました。</p></font></blockquote>",
                    "<p><font size=2>実行はｷｬﾝｾﾙされました。</font></p>"
                    "<p><font size=2>分割の予測は完了していません。</font></p>"};
        case Operation::kEstimateRestoring:
            return {PageSet::kFramePageRestoreDividora, "<p><b>復元予測結果</b></p>",
                    "<font size=2><p>復元予測の実行は失敗しました。</p></font></blockquote>",
                    "<p><font size=2>実行はｷｬﾝｾﾙされました。</font></p>"
                    "<p><font size=2>復元の予測は完了していません。</font></p>"};
        case Operation::kSeparate:
            return {PageSet::kFramePageSeparateFile, "<p><b>分割実行結果</b></p>",
                    "<font size=2><p>分割実行は失敗しました。</p></font></blockquote>",
                    "<font size=2><p>実行はｷｬﾝｾﾙされました。</p></font>"};
        case Operation::kRestore:
            break;
    }
    return {PageSet::kFramePageRestoreDividora, "<p><b>復元実行結果</b></p>",
            "<font size=2><p>復元実行は失敗しました。</p></font></blockquote>",
            "<font size=2><p>実行はｷｬﾝｾﾙされました。</p></font>"};
}

bool IsSplit(Operation agOperation) {
    return agOperation == Operation::kEstimateSeparating || agOperation == Operation::kSeparate;
}

// A typed number as the window's conversions read it: decimal, with an optional sign,
// fraction and exponent, blanks around it allowed.
bool ParseNumber(const std::string& agText, double& ouValue) {
    const size_t first = agText.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return false;
    }
    const std::string text = agText.substr(first, agText.find_last_not_of(" \t") - first + 1);
    if (text.find_first_not_of("0123456789+-.eE") != std::string::npos) {
        return false;  // no hexadecimal, infinity or other forms strtod would take
    }
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value)) {
        return false;
    }
    ouValue = value;
    return true;
}

// Rounds to the nearest 32-bit integer, a half to the even neighbour; throws for a value that
// does not fit, as the conversion overflows.
int32_t RoundToLong(double agValue) {
    const double rounded = std::nearbyint(agValue);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
        throw std::overflow_error("the value does not fit 32 bits");
    }
    return static_cast<int32_t>(rounded);
}

double NumberOrThrow(const std::string& agText) {
    double value = 0;
    if (!ParseNumber(agText, value)) {
        throw std::invalid_argument("not a number: " + agText);
    }
    return value;
}

std::string Row(const std::string& agName, const std::string& agValue, bool agNoWrap = true) {
    return "<tr><td><font size=2><div nowrap>" + agName + "</div></font></td><td><font size=2>" +
           (agNoWrap ? "<div nowrap>" + agValue + "</div>" : agValue) + "</font></td></tr>";
}

}  // namespace

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
        if (agPosition > 0 && owner_.RestoreSepaData) {
            owner_.window_.ShowProgress(Operation::kRestore, agPosition - 1,
                                        owner_.RestoreSepaData->SourceFileSize());
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
    const PageSet page = RowOf(agOperation).Page;
    window_.SetDoButtonEnabled(agOperation, false);
    window_.SetPageSetFixed(page, true);
    window_.SetPageSetFixed(PageSet::kFramePageBase, true);
    const bool result = SetUp(agOperation, agWriter);
    // A window that began to close meanwhile has cancelled and saved; its controls are going.
    if (window_.UnloadFlag()) {
        return result;
    }
    window_.SetPageSetFixed(PageSet::kFramePageBase, false);
    window_.SetPageSetFixed(page, false);
    window_.SetDoButtonEnabled(agOperation, true);
    return result;
}

bool KPXUISepaAss::SetUp(Operation agOperation, BodyWriter agWriter) {
    lcErrorMng = std::make_shared<tkvErrorMng>(&KPXUISepaAss::lcErrorMng_GetDescription);
    cancelMng_ = std::make_shared<tkvCancelMng>();
    if (IsSplit(agOperation)) {
        lcSeparateSepaCtrl = std::make_shared<KPXSepaCtrl>();
        lcSeparateSepaCtrl->SetEvents(separateEvents_.get());
        SeparateSepaData = std::make_shared<KPXSepaData>();
        DecideFileSize = std::make_shared<KPXDecideFileSize>();
        DecideFileName = std::make_shared<KPXDecideFileName>();
    } else {
        lcRestoreSepaCtrl = std::make_shared<KPXSepaCtrl>();
        lcRestoreSepaCtrl->SetEvents(restoreEvents_.get());
        RestoreSepaData = std::make_shared<KPXSepaData>();
    }
    const bool result = WritePage(agOperation, agWriter);
    lcSeparateSepaCtrl.reset();
    lcRestoreSepaCtrl.reset();
    SeparateSepaData.reset();
    RestoreSepaData.reset();
    DecideFileSize.reset();
    DecideFileName.reset();
    cancelMng_.reset();
    lcErrorMng.reset();
    return result;
}

bool KPXUISepaAss::WritePage(Operation agOperation, BodyWriter agWriter) {
    const PageRow row = RowOf(agOperation);
    pageShown_ = false;
    showHTMLToIE_ = std::make_shared<tkvShowHTMLToIE>();
    if (!showHTMLToIE_->CreateAddress()) {
        lcErrorMng->Register(kPageNotCreated);
        ShowPageFailure(agOperation);
        return false;
    }
    std::string html =
        "<html><body><meta HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=x-sjis\">"
        "<p><Font Size=2><A href=\"" +
        tkvFormat::EscapeHTML(showHTMLToIE_->Address()) +
        "\" target=_blank>新しいウィンドウで表示する</A></Font></p>" + row.Title;
    ReportBody = kBlock;
    const bool done = WriteBody(agWriter);
    if (!done && cancelMng_->IsCanceled()) {
        ReportBody = row.Cancel;
    } else if (!done) {
        ReportBody += std::string(row.Failure) + "<p><b>原因</b></p>" + kBlock;
        AppendErrorCauses(ReportBody);
        AppendFailedPiece(agOperation);
    }
    ReportBody += "</blockquote>";
    showHTMLToIE_->SetHTML(html + ReportBody + "</body></html>");
    if (!window_.UnloadFlag()) {
        showHTMLToIE_->SetWebBrowser(window_.ResultView(agOperation));
        ShowStatus(agOperation, "結果を表示中...");
        pageShown_ = showHTMLToIE_->Show();
        if (pageShown_) {
            ShowStatus(agOperation, "");
        } else {
            ShowPageFailure(agOperation);
        }
    }
    return done;
}

bool KPXUISepaAss::WriteBody(BodyWriter agWriter) {
    // Whatever escapes the engine ends this request as a failure, with the causes known so far;
    // it must not take the window with it.
    try {
        return (this->*agWriter)();
    } catch (const std::exception&) {
        return false;
    }
}

void KPXUISepaAss::AppendFailedPiece(Operation agOperation) {
    const bool split = agOperation == Operation::kSeparate;
    if (!split && agOperation != Operation::kRestore) {
        return;
    }
    const auto& sepaCtrl = split ? lcSeparateSepaCtrl : lcRestoreSepaCtrl;
    const auto result = sepaCtrl->SepaResult();
    const auto job = sepaCtrl->SepaData();
    int32_t index = -1;
    if (!result || !job || !result->GetErrorDataOfSeparatedFile(index) || index < 0 ||
        index >= job->DividoraCount() || !job->DividoraData(index)) {
        return;
    }
    ReportBody += split ? "<font size=2><p>ｴﾗｰが発生した分割先ﾌｧｲﾙ:</p>"
                        : "<font size=2><p>ｴﾗｰが発生した復元元ﾌｧｲﾙ:</p>";
    ReportBody += "<p><div nowrap>" +
                  tkvFormat::EscapeHTML(job->DividoraData(index)->FileAddress()) +
                  "</div></p></font>";
}

void KPXUISepaAss::AppendErrorCauses(std::string& ioText) {
    tkvErrorAnalysis analysis;
    analysis.SetSortMode(tkvErrorAnalysis::kInnermostFirst);
    // The assistant is the head of the chain; the analysis only looks at it while it runs.
    analysis.Analyze(std::shared_ptr<tkvIError>(std::shared_ptr<void>(), this));
    std::string causes;
    for (int32_t c = 0; c < analysis.CountOfClass(); ++c) {
        for (int32_t f = 0; f < analysis.CountOfFunction(c); ++f) {
            if (analysis.Number(c, f) != 0) {
                causes += "<font size=2><p>" + tkvFormat::EscapeHTML(analysis.Description(c, f)) +
                          "</p></font>";
            }
        }
    }
    ioText += causes;
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
    const auto sepaMng = window_.SepaMng();
    agJob.SetConfirmFileSize(sepaMng->ConfirmFileSize());
    agJob.SetConfirmDividoraSize(sepaMng->ConfirmDividoraSize());
    agJob.SetTransmissionByteSize(sepaMng->TransmissionByteSize());
    agJob.SetClearCreatedFileWhenUncompleted(sepaMng->ClearCreatedFileWhenUncompleted());
}

bool KPXUISepaAss::PrepareDecideFileSize(KPXDecideFileSize& agDecide) {
    const std::string source = window_.txtSeparateFileAddress();
    try {
        agDecide.SetUpperCountToWarn(window_.SepaMng()->UpperCountToWarn());
        agDecide.SetSepaMode(1);
        agDecide.SetHowToSeparate(window_.cmbSeparateFileMode());
        if (agDecide.HowToSeparate() == KPXDecideFileSize::kBySize) {
            // The typed size is read in single precision, as the window always has.
            const auto size =
                static_cast<float>(NumberOrThrow(window_.txtSeparateFileModeFileSize()));
            agDecide.SetFileSizeToSeparate(
                RoundToLong(static_cast<double>(size) * window_.cmbSeparateFileModeFileSizeUnit()));
            agDecide.SetIncludeSizeOfHeader(true);
            agDecide.SetSepaCtrl(lcSeparateSepaCtrl);
            agDecide.SepaData()->SetFileAddress(source);
        }
        if (agDecide.HowToSeparate() == KPXDecideFileSize::kByCount) {
            agDecide.SetFileCountToSeparate(
                RoundToLong(NumberOrThrow(window_.txtSeparateFileModeCount())));
        }
        int64_t length = 0;
        if (tkvFileString::GetPathKind(source) != tkvFileString::kFile ||
            !tkvFileString::GetFileLength(source, length)) {
            throw std::runtime_error("no source file: " + source);
        }
        agDecide.SetFileSize(length);
        if (agDecide.Decide()) {
            return true;
        }
        lcErrorMng->SetReference(DecideFileSize);
        return false;
    } catch (const std::exception&) {
        double ignored = 0;
        const int32_t mode = agDecide.HowToSeparate();
        if (mode == KPXDecideFileSize::kBySize &&
            !ParseNumber(window_.txtSeparateFileModeFileSize(), ignored)) {
            lcErrorMng->Register(kSizeNotNumeric);
        }
        if (mode == KPXDecideFileSize::kByCount &&
            !ParseNumber(window_.txtSeparateFileModeCount(), ignored)) {
            lcErrorMng->Register(kCountNotNumeric);
        }
        if (tkvFileString::GetPathKind(source) != tkvFileString::kFile) {
            lcErrorMng->Register(kSourceMissing);
        }
        if (lcErrorMng->Count() == 0) {
            lcErrorMng->Register(kSizeNotDecided);
        }
        return false;
    }
}

bool KPXUISepaAss::PrepareDecideFileName(KPXDecideFileName& agDecide) {
    try {
        agDecide.SetBaseFileAddress(window_.txtSeparateFileSepaAddress());
        agDecide.SetBaseFileName(window_.txtSeparateFileDividoraName());
        agDecide.SetHowToName(window_.cmbSeparateFileHowToName());
        if (agDecide.Decide()) {
            return true;
        }
        lcErrorMng->SetReference(DecideFileName);
        return false;
    } catch (const std::exception&) {
        lcErrorMng->Register(kNamingFailed);
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

bool KPXUISepaAss::WriteEstimateSeparating() {
    constexpr Operation kThis = Operation::kEstimateSeparating;
    estimateVerdict_ = false;
    estimatedPiecePaths_.clear();
    ShowStatus(kThis, "分割の実行予測を開始...");
    const std::string source = window_.txtSeparateFileAddress();
    const bool sourceExists = tkvFileString::GetPathKind(source) == tkvFileString::kFile;
    DecideFileSize->SetCancelMng(cancelMng_);
    DecideFileName->SetCancelMng(cancelMng_);
    lcSeparateSepaCtrl->SetSepaData(SeparateSepaData);
    DecideFileSize->SetSepaData(SeparateSepaData);
    DecideFileName->SetSepaData(SeparateSepaData);
    // The header is sized with the source's real name in both modes, so the estimate shows the
    // sizes the split will write.
    SeparateSepaData->SetFileAddress(source);
    ShowStatus(kThis, "分割をｼﾐｭﾚｰﾄ中...");
    DecideFileSize->SetSepaCtrl(lcSeparateSepaCtrl);
    const bool sizeOk = PrepareDecideFileSize(*DecideFileSize);
    const bool nameOk = PrepareDecideFileName(*DecideFileName);
    int64_t sourceSize = 0;
    if (sourceExists) {
        tkvFileString::GetFileLength(source, sourceSize);
    }
    int32_t headerSize = 0;
    if (!lcSeparateSepaCtrl->GetSizeOfHeader(headerSize)) {
        lcErrorMng->SetReference(lcSeparateSepaCtrl);  // so the page names why
        return false;
    }
    estimateVerdict_ = sourceExists && sizeOk && nameOk;
    if (estimateVerdict_) {
        ReportBody +=
            "<font size=2><p>分割予測は完了しました。</p></font></blockquote>"
            "<p><b>詳細</b></p>";
    } else {
        ReportBody +=
            "<font size=2><p>分割予測は失敗しました。</p></font></blockquote>"
            "<p><b>原因</b></p>";
    }
    ReportBody += kBlock;
    int32_t causeNumber = 0;
    if (sourceExists) {
        ReportBody +=
            "<font size=2><p>以下は、分割元ﾌｧｲﾙのﾃﾞｰﾀです。</p></font>" + kBlock + "<table>" +
            Row("分割元ﾌｧｲﾙ名", tkvFormat::EscapeHTML(source)) +
            Row("分割元ﾌｧｲﾙｻｲｽﾞ", tkvFormat::FormatByteSize(static_cast<double>(sourceSize))) +
            "</table></blockquote>";
    } else {
        causeNumber = 1;
        ReportBody +=
            "<font size=2><p><b>原因1: </b>分割元ｱﾄﾞﾚｽに指定されたｱﾄﾞﾚｽが適切でない、"
            "もしくは、指定されたｱﾄﾞﾚｽにﾌｧｲﾙが存在しません。</p></font>"
            "<font size=2><p>従って、分割予測ができませんでした。</p></font>";
    }
    if (sizeOk && nameOk) {
        const int32_t count = SeparateSepaData->DividoraCount();
        ReportBody +=
            "<font size=2><p>以下は、作成される分割先ﾌｧｲﾙのﾌｧｲﾙ名とﾌｧｲﾙｻｲｽﾞです。"
            "</p></font><font size=2><p>作成される分割先ﾌｧｲﾙは、" +
            std::to_string(count) + "個です。</p></font>" + kBlock + "<table>" +
            Row("ﾌｧｲﾙ名", "ﾌｧｲﾙｻｲｽﾞ");
        for (int32_t i = 0; i < count; ++i) {
            const auto record = SeparateSepaData->DividoraData(i);
            estimatedPiecePaths_.push_back(record->FileAddress());
            ReportBody += Row(
                tkvFormat::EscapeHTML(tkvFileString::GetFileNamePart(record->FileAddress())),
                tkvFormat::FormatByteSize(static_cast<double>(record->FileSize()) + headerSize));
            if (cancelMng_->IsCanceled()) {
                estimateVerdict_ = false;
                return false;
            }
        }
        ReportBody += "</table></blockquote><font size=2><p>ﾌｧｲﾙｻｲｽﾞには、" +
                      tkvFormat::FormatByteSize(headerSize) +
                      "分のﾍｯﾀﾞｻｲｽﾞも含まれています。</p></font>";
    }
    if (!sizeOk) {
        ReportBody +=
            "<font size=2><p><b>原因" + std::to_string(++causeNumber) +
            ": </b>失敗の原因として以下の2つが考えられます。</p></font>"
            "<font size=2><p><b>可能性1: </b>分割予測は、分割元ｱﾄﾞﾚｽ、分割ﾓｰﾄﾞのﾌｧｲﾙｻｲｽﾞ、"
            "または、分割数が正しく指定されていないと、実行できません。</p></font>"
            "<font size=2><p><b>可能性2: </b>分割予測で算出された分割数が、警告をする分割数の"
            "上限値を超えている場合は、分割予測を中断してしまいます。分割ﾓｰﾄﾞを「ｻｲｽﾞを指定して"
            "分割」にしている場合、ﾌｧｲﾙｻｲｽﾞが小さすぎると分割数が多くなり上限値を超えてしまう"
            "場合があります。また、分割ﾓｰﾄﾞを「分割数を指定して分割」にしている場合、分割数に"
            "上限値を超える値が指定されている可能性があります。</p></font>"
            "<font size=2><p>従って、分割予測ができませんでした。</p></font>";
    }
    if (!nameOk) {
        ReportBody += "<font size=2><p><b>原因" + std::to_string(++causeNumber) +
                      ": </b>予期せぬｴﾗｰが発生しました。</p></font>"
                      "<font size=2><p>従って、分割予測ができませんでした。</p></font>";
    }
    return true;
}

bool KPXUISepaAss::WriteEstimateRestoring() {
    constexpr Operation kThis = Operation::kEstimateRestoring;
    estimateVerdict_ = false;
    estimateSkippedCount_ = 0;
    ShowStatus(kThis, "復元の実行予測を開始...");
    const std::vector<std::string> list = window_.lstRestoreDividoraSepaAddress();
    if (list.empty()) {
        ReportBody +=
            "<font size=2><p>復元の実行はできません。</p></font></blockquote>"
            "<p><b>原因</b></p>" +
            kBlock + "<font size=2><p>復元元ｱﾄﾞﾚｽが指定されていません。</p></font>";
        return true;
    }
    lcRestoreSepaCtrl->SetCancelMng(cancelMng_);
    RestoreSepaData->SetCancelMng(cancelMng_);
    lcRestoreSepaCtrl->SetSepaData(RestoreSepaData);
    // The headers are read with the checks the restore itself will make, so the estimate
    // predicts it.
    CopySettings(*RestoreSepaData);
    if (!RestoreSepaData->Initialize(static_cast<int32_t>(list.size()))) {
        return false;
    }
    ShowStatus(kThis, "ﾍｯﾀﾞを読み込んでいます...");
    std::vector<KPXRestoreEstimate::Piece> readable;
    std::vector<KPXRestoreEstimate::Piece> unreadable;
    for (int32_t i = 0; i < RestoreSepaData->DividoraCount(); ++i) {
        const auto record = RestoreSepaData->DividoraData(i);
        record->SetFileAddress(list[static_cast<size_t>(i)]);
        if (lcRestoreSepaCtrl->ReadHeader(*record)) {
            readable.push_back(record);
        } else {
            unreadable.push_back(record);
            RestoreSepaData->SetDividoraData(i, nullptr);
        }
        if (cancelMng_->IsCanceled()) {
            return false;
        }
    }
    ShowStatus(kThis, "分割IDなどの一致性を調べています...");
    KPXRestoreEstimate estimate(std::move(unreadable), window_.SepaMng()->UpperCountToWarn(),
                                cancelMng_);
    if (!estimate.SortIntoKinds(readable)) {
        return false;
    }
    lcRestoreSepaCtrl.reset();  // the kinds keep the piece records
    RestoreSepaData.reset();
    ShowStatus(kThis, "結合順を調べています...");
    if (!estimate.SortIntoSlots() || !estimate.Check() || !estimate.Write(ReportBody)) {
        return false;
    }
    estimateVerdict_ = estimate.Restorable();
    estimateSkippedCount_ = estimate.LargestSkippedCount();
    return true;
}

bool KPXUISepaAss::WriteSeparate() {
    constexpr Operation kThis = Operation::kSeparate;
    ShowStatus(kThis, "分割を開始...");
    lcSeparateSepaCtrl->SetCancelMng(cancelMng_);
    SeparateSepaData->SetCancelMng(cancelMng_);
    DecideFileSize->SetCancelMng(cancelMng_);
    DecideFileName->SetCancelMng(cancelMng_);
    lcSeparateSepaCtrl->SetSepaData(SeparateSepaData);
    DecideFileSize->SetSepaData(SeparateSepaData);
    DecideFileName->SetSepaData(SeparateSepaData);
    if (window_.txtSeparateFileSepaAddress().empty()) {
        lcErrorMng->Register(kNoSepaAddress);
        return false;
    }
    CopySettings(*SeparateSepaData);
    SeparateSepaData->SetFileAddress(window_.txtSeparateFileAddress());
    SeparateSepaData->SetSepaDate(tkvDateTime::Now());
    if (!PrepareDecideFileSize(*DecideFileSize) || !PrepareDecideFileName(*DecideFileName)) {
        return false;
    }
    if (!SeparateSepaData->DecideSpecAndTurnID()) {
        lcErrorMng->SetReference(SeparateSepaData);
        return false;
    }
    if (!lcSeparateSepaCtrl->Separate()) {
        lcErrorMng->SetReference(lcSeparateSepaCtrl);
        return false;
    }
    WriteSeparateLog();
    return true;
}

bool KPXUISepaAss::WriteRestore() {
    constexpr Operation kThis = Operation::kRestore;
    ShowStatus(kThis, "復元を開始...");
    lcRestoreSepaCtrl->SetCancelMng(cancelMng_);
    RestoreSepaData->SetCancelMng(cancelMng_);
    lcRestoreSepaCtrl->SetSepaData(RestoreSepaData);
    if (window_.txtRestoreDividoraAddress().empty()) {
        lcErrorMng->Register(kNoRestoreAddress);
        return false;
    }
    CopySettings(*RestoreSepaData);
    RestoreSepaData->SetFileAddress(window_.txtRestoreDividoraAddress());
    const std::vector<std::string> list = window_.lstRestoreDividoraSepaAddress();
    if (!RestoreSepaData->Initialize(static_cast<int32_t>(list.size()))) {
        lcErrorMng->SetReference(RestoreSepaData);
        return false;
    }
    for (int32_t i = 0; i < RestoreSepaData->DividoraCount(); ++i) {
        RestoreSepaData->DividoraData(i)->SetFileAddress(list[static_cast<size_t>(i)]);
    }
    if (!lcRestoreSepaCtrl->Restore()) {
        lcErrorMng->SetReference(lcRestoreSepaCtrl);
        return false;
    }
    WriteRestoreLog();
    return true;
}

void KPXUISepaAss::WriteSeparateLog() {
    const int32_t count = SeparateSepaData->DividoraCount();
    ReportBody += "<font size=2><p>分割が完了しました。</p></font></blockquote><p><b>詳細</b></p>" +
                  kBlock + "<table>" +
                  Row("分割元ｱﾄﾞﾚｽ", tkvFormat::EscapeHTML(SeparateSepaData->FileAddress())) +
                  Row("分割先ｱﾄﾞﾚｽ", tkvFormat::EscapeHTML(DecideFileName->BaseFileAddress())) +
                  Row("分割数", std::to_string(count) + "個", false);
    if (count > 0) {
        const auto first = SeparateSepaData->DividoraData(0);
        ReportBody += Row("分割ID", std::to_string(first->SpecID()), false) +
                      Row("分割日時", tkvDateTime::GeneralDateText(first->SepaDate()), false);
    }
    ReportBody += "</table>";
}

void KPXUISepaAss::WriteRestoreLog() {
    const int32_t count = RestoreSepaData->DividoraCount();
    ReportBody += "<font size=2><p>復元が完了しました。</p></font></blockquote><p><b>詳細</b></p>";
    if (count > 0) {
        const auto first = RestoreSepaData->DividoraData(0);
        ReportBody += kBlock + "<table>" +
                      Row("復元先ｱﾄﾞﾚｽ", tkvFormat::EscapeHTML(tkvFileString::JoinFolderAndName(
                                             RestoreSepaData->FileAddress(), first->FileName()))) +
                      Row("復元した分割ﾌｧｲﾙ数", std::to_string(count) + "個", false) +
                      Row("復元した分割ID", std::to_string(first->SpecID()), false) + "</table>";
    }
}
