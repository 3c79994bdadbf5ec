#include "RestoreCommand.h"

#include <memory>

#include "CliInterrupt.h"
#include "CliOptions.h"
#include "CliProgress.h"
#include "CliReport.h"
#include "DividoraCli.h"
#include "KPXSepaCtrl.h"
#include "tkvCancelMng.h"
#include "tkvFileString.h"

int RestoreCommand::Run(const std::vector<std::string>& agArguments) {
    CliOptions options(CliOptions::JobFlags(), CliOptions::JobValued());
    CliJobOptions job;
    if (!options.Parse(agArguments) || !options.JobOptions(job)) {
        return DividoraCli::BadUsage(err_, options.Error());
    }
    const std::vector<std::string>& pieces = options.Positional();
    if (pieces.empty()) {
        return DividoraCli::BadUsage(err_, "restore needs at least one PIECE");
    }

    auto cancelMng = std::make_shared<tkvCancelMng>();
    CliInterrupt interrupt(cancelMng);
    auto sepaCtrl = std::make_shared<KPXSepaCtrl>();
    auto sepaData = std::make_shared<KPXSepaData>();
    sepaCtrl->SetCancelMng(cancelMng);
    sepaCtrl->SetSepaData(sepaData);
    sepaData->SetCancelMng(cancelMng);
    sepaData->SetFileAddress(options.Value("-o"));
    sepaData->SetTransmissionByteSize(job.BlockSize);
    sepaData->SetConfirmDividoraSize(job.ConfirmSize);
    sepaData->SetClearCreatedFileWhenUncompleted(job.ClearCreatedFiles);
    bool done = sepaData->Initialize(static_cast<int32_t>(pieces.size()));
    for (int32_t i = 0; done && i < sepaData->DividoraCount(); ++i) {
        sepaData->DividoraData(i)->SetFileAddress(pieces[static_cast<size_t>(i)]);
    }

    CliProgress progress(err_, showProgress_, job.Force, sepaData);
    sepaCtrl->SetEvents(&progress);
    done = done && sepaCtrl->Restore();
    progress.Finish();
    if (interrupt.Interrupted() && !done) {
        err_ << "dividora-cli: cancelled\n";
        return DividoraCli::kCancelled;
    }
    if (!done) {
        CliReport::PrintCauses(err_, sepaCtrl);
        CliReport::PrintFailedPiece(err_, *sepaCtrl);
        return DividoraCli::kFailed;
    }
    out_ << tkvFileString::JoinFolderAndName(sepaData->FileAddress(),
                                             sepaData->DividoraData(0)->FileName())
         << '\n';
    return DividoraCli::kDone;
}
