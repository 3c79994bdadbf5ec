#include "RestoreCommand.h"

#include <memory>

#include "CliAssistantRun.h"
#include "CliDestination.h"
#include "CliOptions.h"
#include "CliPieceSet.h"
#include "CliRunFiles.h"
#include "CliTerminal.h"
#include "DividoraCli.h"
#include "KPXSepaCtrl.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "tkvFileString.h"

std::string RestoreCommand::RestoredPath(const CliRequest& agRequest,
                                         const std::vector<std::string>& agPieces) {
    auto job = std::make_shared<KPXSepaData>();
    job->SetConfirmDividoraSize(!agRequest.NoConfirmSize);
    KPXSepaCtrl sepaCtrl;
    sepaCtrl.SetSepaData(job);
    for (const std::string& piece : agPieces) {
        KPXDividoraData record;
        record.SetFileAddress(piece);
        if (sepaCtrl.ReadHeader(record)) {
            return tkvFileString::JoinFolderAndName(agRequest.Folder, record.FileName());
        }
    }
    return {};
}

int RestoreCommand::Run(const CliRequest& agRequest) {
    const bool toStream = agRequest.Folder == kStandardOutput;
    if (toStream && !agRequest.Estimate && CliTerminal::OutputStreamIsTerminal()) {
        err_ << "dividora-cli: -o - writes the restored file to standard output, which is a "
                "terminal; redirect it to a file or a pipe\n";
        return DividoraCli::kBadUsage;
    }
    CliPieceSet set;
    std::string why;
    const bool found = set.Find(agRequest, why);
    set.TellNotes(err_);
    if (!found) {
        err_ << "dividora-cli: " << why << '\n';
        return DividoraCli::kFailed;
    }
    if (agRequest.Estimate && !set.Found().empty()) {
        out_ << set.Found() << '\n';
    }
    const std::vector<std::string>& pieces = set.Pieces();
    // Standard output carries the file's bytes: the log goes to the error stream.
    CliAssistantRun run(toStream && !agRequest.Estimate ? err_ : out_, err_, showProgress_);
    const std::string restored = toStream ? std::string() : RestoredPath(agRequest, pieces);
    if (!agRequest.HtmlFile.empty()) {
        CliRunFiles files;
        for (const std::string& piece : pieces) {
            files.AddFile(piece);
        }
        if (!restored.empty()) {
            files.AddFile(restored);
        }
        if (!agRequest.ChecksumFile.empty()) {
            files.AddFile(agRequest.ChecksumFile);
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
    window.RestoreDividoraSepaAddress = pieces;
    window.RestoreDividoraAddress = agRequest.Folder;
    window.ChecksumAddress = agRequest.ChecksumFile;
    window.Force = agRequest.Force;
    if (toStream) {
        window.Stream = tkvFileHandle::StandardOutput();
    }
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
    if (toStream) {
        return status;
    }
    const auto problems = CliDestination::Problems(
        agRequest.Folder,
        restored.empty() ? std::vector<std::string>{} : std::vector<std::string>{restored}, {},
        agRequest.Force);
    for (const std::string& problem : problems) {
        err_ << "dividora-cli: " << problem << '\n';
        status = DividoraCli::kFailed;
    }
    return status;
}
