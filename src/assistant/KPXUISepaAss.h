#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KPXSepaCtrlEvents.h"
#include "KPXUISepaAssWindow.h"
#include "tkvErrorMng.h"
#include "tkvIError.h"
#include "tkvPageDocument.h"

class KPXDecideFileName;
class KPXResultPage;
class KPXDecideFileSize;
class KPXSepaCtrl;
class KPXSepaData;
class KPXUtilSettings;
class tkvCancelMng;
class tkvShowHTMLToIE;

// Carries out one request of the main window: a split estimate, a restore estimate, a split or
// a restore. It reads the window's inputs and the settings, drives the engine, answers its
// overwrite questions and status events, and shows a result page that explains the outcome,
// the causes of a failure included. The window makes a new assistant for every request, keeps
// its ShowHTMLToIE for as long as the page is on screen, and drops the assistant.
class KPXUISepaAss : public tkvIError {
public:
    enum Error : int32_t {
        kSizeNotNumeric = 1001,
        kCountNotNumeric = 1002,
        kSourceMissing = 1003,
        kSizeNotDecided = 1004,
        kNamingFailed = 1101,
        kNoSepaAddress = 1201,
        kNoRestoreAddress = 1301,
        kPageNotCreated = 1401,
    };

    explicit KPXUISepaAss(KPXUISepaAssWindow& agWindow);
    ~KPXUISepaAss() override;
    KPXUISepaAss(const KPXUISepaAss&) = delete;
    KPXUISepaAss& operator=(const KPXUISepaAss&) = delete;

    // The running operation's registry; none outside an operation.
    std::shared_ptr<tkvErrorMng> ErrorMng() const override;
    std::string ClassName() const override { return "KPXUISepaAss"; }

    // The running operation's cancel flag; none outside an operation.
    std::shared_ptr<tkvCancelMng> CancelMng() const;
    bool OverwriteAllFlag() const { return overwriteAllFlag_; }
    void SetOverwriteAllFlag(bool agValue) { overwriteAllFlag_ = agValue; }
    // The page of the last operation; none before the first.
    std::shared_ptr<tkvShowHTMLToIE> ShowHTMLToIE() const { return showHTMLToIE_; }
    // The same page as a document, for a reader without an HTML view (the command-line tool).
    const tkvPageDocument& Page() const { return page_; }

    // True when the page was shown and its body completed (for the runs: the split or restore
    // succeeded); false on failure or cancel, with a page that explains it when the page file
    // could be made.
    bool EstimateSeparating();
    bool EstimateRestoring();
    bool Separate();
    bool Restore();

    // The verdict of the last completed estimate: the split or restore can be done.
    bool EstimateVerdict() const { return estimateVerdict_; }
    // The largest piece count of a set the last restore estimate did not analyse because it is
    // above UpperCountToWarn (its verdict says nothing about such a set); 0 when none.
    int32_t EstimateSkippedCount() const { return estimateSkippedCount_; }
    // The piece paths the last split estimate decided; empty when it decided none.
    const std::vector<std::string>& EstimatedPiecePaths() const { return estimatedPiecePaths_; }
    // Whether the last operation's page was written and shown in its view. When it was not,
    // the operation's status label says so, whatever the operation's result.
    bool PageShown() const { return pageShown_; }

private:
    using Operation = KPXUISepaAssWindow::Operation;
    using BodyWriter = bool (KPXUISepaAss::*)(KPXResultPage& ioPage);
    class SeparateEvents;
    class RestoreEvents;
    struct Request;

    bool RunOperation(Operation agOperation, BodyWriter agWriter);
    bool WritePage(Operation agOperation, BodyWriter agWriter);
    bool WriteBody(BodyWriter agWriter, KPXResultPage& ioPage);
    void ShowPage(Operation agOperation, const tkvPageDocument& agPage);
    std::vector<std::string> ErrorCauses();
    std::string FailedPiece() const;

    bool WriteEstimateSeparating(KPXResultPage& ioPage);
    bool WriteEstimateRestoring(KPXResultPage& ioPage);
    bool WriteSeparate(KPXResultPage& ioPage);
    bool WriteRestore(KPXResultPage& ioPage);

    // The checksum file a split writes: NAME.xxh128 beside the pieces.
    std::string ChecksumFileOfSplit() const;
    bool PrepareDecideFileSize(KPXDecideFileSize& agDecide);
    bool PrepareDecideFileName(KPXDecideFileName& agDecide);
    // The piece size or count as typed, converted as the window converts; false when the text
    // is no number or the value does not fit 32 bits.
    bool TypedPieceSize(int32_t& ouBytes) const;
    bool TypedPieceCount(int32_t& ouCount) const;
    void ShowStatus(Operation agOperation, const std::string& agText);
    // The status label says the page could not be made or shown.
    void ShowPageFailure(Operation agOperation);
    void CopySettings(KPXSepaData& agJob) const;

    // Events of the engine controls.
    void lcSeparateSepaCtrl_OverwriteFile(const std::string& agFileAddress, bool& ouCancel);
    void lcSeparateSepaCtrl_StatusOfCreatingDividora(int32_t agFirst, int32_t agSecond);
    void lcRestoreSepaCtrl_OverwriteFile(const std::string& agFileAddress, bool& ouCancel);
    void lcRestoreSepaCtrl_StatusOfConfirmingRestorability();
    void lcRestoreSepaCtrl_StatusOfReadingAllHeadersOfDividoras();
    void lcRestoreSepaCtrl_StatusOfReadingDividora(int32_t agFirst, int32_t agSecond);
    void AnswerOverwrite(const std::string& agFileAddress, bool& ouCancel);
    static void lcErrorMng_GetDescription(int32_t agNumber, std::string& ouDescription);

    KPXUISepaAssWindow& window_;
    std::unique_ptr<SeparateEvents> separateEvents_;
    std::unique_ptr<RestoreEvents> restoreEvents_;
    // The objects of the running operation; none outside one.
    std::unique_ptr<Request> request_;
    bool overwriteAllFlag_ = false;
    std::shared_ptr<tkvShowHTMLToIE> showHTMLToIE_;
    tkvPageDocument page_;
    bool estimateVerdict_ = false;
    int32_t estimateSkippedCount_ = 0;
    std::vector<std::string> estimatedPiecePaths_;
    bool pageShown_ = false;
};
