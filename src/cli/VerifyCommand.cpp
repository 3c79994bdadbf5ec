#include "VerifyCommand.h"

#include <algorithm>
#include <memory>

#include "CliInterrupt.h"
#include "CliOptions.h"
#include "CliPieceSet.h"
#include "CliProgress.h"
#include "CliText.h"
#include "DividoraCli.h"
#include "KPXSepaCtrl.h"
#include "KPXSepaCtrlEvents.h"
#include "tkvCancelMng.h"
#include "tkvErrorAnalysis.h"

namespace {

// Progress through the set's data, as a restore shows it.
class VerifyProgress : public KPXSepaCtrlEvents {
public:
    VerifyProgress(CliProgress& agProgress, const KPXSepaData& agJob)
        : progress_(agProgress), job_(agJob) {}

    void StatusOfRestoringToFile(int64_t agPosition, int64_t) override {
        if (agPosition > 0) {  // a position counts from 1
            progress_.Show(agPosition - 1, job_.SourceFileSize());
        }
    }

private:
    CliProgress& progress_;
    const KPXSepaData& job_;
};

}  // namespace

int VerifyCommand::Run(const CliRequest& agRequest) {
    CliPieceSet set;
    std::string why;
    const bool found = set.Find(agRequest, why);
    set.TellNotes(err_);
    if (!found) {
        err_ << "dividora-cli: " << why << '\n';
        return DividoraCli::kFailed;
    }
    if (!set.Found().empty()) {
        out_ << set.Found() << '\n';
    }
    const std::vector<std::string>& pieces = set.Pieces();
    auto job = std::make_shared<KPXSepaData>();
    job->SetConfirmDividoraSize(true);
    job->SetTransmissionByteSize(static_cast<int32_t>(agRequest.BlockSize));
    job->SetChecksumFileAddress(agRequest.ChecksumFile);
    if (!job->Initialize(static_cast<int32_t>(pieces.size()))) {
        err_ << "dividora-cli: too many pieces\n";
        return DividoraCli::kFailed;
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        job->DividoraData(static_cast<int32_t>(i))->SetFileAddress(pieces[i]);
    }
    auto sepaCtrl = std::make_shared<KPXSepaCtrl>();
    auto cancelMng = std::make_shared<tkvCancelMng>();
    CliProgress progress(err_, showProgress_);
    VerifyProgress events(progress, *job);
    sepaCtrl->SetSepaData(job);
    sepaCtrl->SetCancelMng(cancelMng);
    sepaCtrl->SetEvents(&events);
    CliInterrupt::CancelThrough([cancelMng] { return cancelMng; });
    const bool verified = sepaCtrl->Verify();
    CliInterrupt::CancelThrough({});
    progress.Finish();
    if (!verified && cancelMng->IsCanceled()) {
        err_ << "dividora-cli: the verify was cancelled\n";
        return DividoraCli::CancelledBy(CliInterrupt::Signal());
    }
    const KPXSepaResult& result = *sepaCtrl->SepaResult();
    const auto& differing = result.DifferingPieces();
    // Every piece was read through when the set passed or only digests differed; a verify
    // that stopped at anything else (a read failure, a piece changed meanwhile) has read only
    // some, and its causes say which.
    bool readThrough = verified || !differing.empty();
    const auto errors = sepaCtrl->ErrorMng();
    for (int32_t i = 0; readThrough && !verified && i < errors->Count(); ++i) {
        const int32_t number = errors->Number(i);
        readThrough = number == KPXSepaCtrl::kPieceDigestDiffers ||
                      number == KPXSepaCtrl::kRestoredDigestDiffers;
    }
    if (readThrough) {
        for (int32_t i = 0; i < job->DividoraCount(); ++i) {
            const std::string& piece = job->DividoraData(i)->FileAddress();
            const bool bad =
                std::find(differing.begin(), differing.end(), piece) != differing.end();
            (bad ? err_ : out_) << CliText::Escaped(piece) << (bad ? ": FAILED\n" : ": OK\n");
        }
    }
    if (verified) {
        out_ << CliText::Escaped(job->DividoraData(0)->FileName()) << ": " << job->DividoraCount()
             << " pieces, complete, from one split, intact (checked against "
             << CliText::Escaped(result.ChecksumFileAddress()) << ")\n";
        return DividoraCli::kDone;
    }
    tkvErrorAnalysis analysis;
    analysis.SetSortMode(tkvErrorAnalysis::kInnermostFirst);
    analysis.Analyze(sepaCtrl);
    for (const std::string& cause : analysis.Descriptions()) {
        err_ << "dividora-cli: " << CliText::Escaped(cause) << '\n';
    }
    int32_t index = -1;
    if (!readThrough && result.GetErrorDataOfSeparatedFile(index) && index >= 0 &&
        index < job->DividoraCount()) {
        err_ << "dividora-cli: the piece it stopped at: "
             << CliText::Escaped(job->DividoraData(index)->FileAddress()) << '\n';
    }
    return DividoraCli::kFailed;
}
