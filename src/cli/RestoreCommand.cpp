#include "RestoreCommand.h"

#include <memory>

#include "CliAssistantRun.h"
#include "CliDestination.h"
#include "CliOptions.h"
#include "CliRunFiles.h"
#include "DividoraCli.h"
#include "KPXSepaCtrl.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "tkvFileString.h"

std::string RestoreCommand::RestoredPath(const CliRequest& agRequest) {
    auto job = std::make_shared<KPXSepaData>();
    job->SetConfirmDividoraSize(!agRequest.NoConfirmSize);
    KPXSepaCtrl sepaCtrl;
    sepaCtrl.SetSepaData(job);
    for (const std::string& piece : agRequest.Inputs) {
        KPXDividoraData record;
        record.SetFileAddress(piece);
        if (sepaCtrl.ReadHeader(record)) {
            return tkvFileString::JoinFolderAndName(agRequest.Folder, record.FileName());
        }
    }
    return {};
}

int RestoreCommand::Run(const CliRequest& agRequest) {
    CliAssistantRun run(out_, err_, showProgress_);
    const std::string restored = RestoredPath(agRequest);
    if (!agRequest.HtmlFile.empty()) {
        CliRunFiles files;
        for (const std::string& piece : agRequest.Inputs) {
            files.AddFile(piece);
        }
        if (!restored.empty()) {
            files.AddFile(restored);
        }
        const int status = run.PrepareHtmlFile(agRequest.HtmlFile, agRequest.Force, files);
        if (status != DividoraCli::kDone) {
            return status;
        }
    }
    KPXUtilSettings& settings = run.Settings();
    settings.SetUpperCountToWarn(static_cast<int32_t>(agRequest.MaxPieces));
    settings.SetConfirmDividoraSize(!agRequest.NoConfirmSize);
    settings.SetTransmissionByteSize(static_cast<int32_t>(agRequest.BlockSize));
    settings.SetClearCreatedFileWhenUncompleted(!agRequest.KeepPartial);
    CliWindow& window = run.Window();
    window.RestoreDividoraSepaAddress = agRequest.Inputs;
    window.RestoreDividoraAddress = agRequest.Folder;
    window.Force = agRequest.Force;
    if (!agRequest.Estimate) {
        return run.Run(KPXUISepaAssWindow::Operation::kRestore);
    }
    int status = run.Run(KPXUISepaAssWindow::Operation::kEstimateRestoring);
    if (status != DividoraCli::kDone && status != DividoraCli::kFailed) {
        return status;  // cancelled
    }
    // A set above the limit adds nothing against restoring: its "can be restored" is no promise.
    const int32_t skipped = run.Assistant()->EstimateSkippedCount();
    if (skipped > 0) {
        err_ << "dividora-cli: a set of " << skipped << " pieces is above --max-pieces "
             << agRequest.MaxPieces << ", so the estimate did not check it; give --max-pieces "
             << skipped << " to check it\n";
        status = DividoraCli::kFailed;
    }
    const auto problems = CliDestination::Problems(
        agRequest.Folder,
        restored.empty() ? std::vector<std::string>{} : std::vector<std::string>{restored}, false,
        agRequest.Force);
    for (const std::string& problem : problems) {
        err_ << "dividora-cli: " << problem << '\n';
        status = DividoraCli::kFailed;
    }
    return status;
}
