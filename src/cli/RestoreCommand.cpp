#include "RestoreCommand.h"

#include "CliAssistantRun.h"
#include "CliOptions.h"
#include "DividoraCli.h"
#include "KPXUISepaMng.h"

int RestoreCommand::Run(const std::vector<std::string>& agArguments) {
    CliOptions options(CliOptions::JobFlags(), CliOptions::JobValued());
    CliJobOptions job;
    if (!options.Parse(agArguments) || !options.JobOptions(job)) {
        return DividoraCli::BadUsage(err_, options.Error());
    }
    if (options.Positional().empty()) {
        return DividoraCli::BadUsage(err_, "restore needs at least one PIECE");
    }
    CliAssistantRun run(out_, err_, showProgress_);
    KPXUISepaMng& settings = run.Settings();
    settings.SetConfirmDividoraSize(job.ConfirmSize);
    settings.SetTransmissionByteSize(job.BlockSize);
    settings.SetClearCreatedFileWhenUncompleted(job.ClearCreatedFiles);
    CliWindow& window = run.Window();
    window.RestoreDividoraSepaAddress = options.Positional();
    window.RestoreDividoraAddress = options.Value("-o");
    window.Force = job.Force;
    return run.Run(job.Estimate ? KPXUISepaAssWindow::Operation::kEstimateRestoring
                                : KPXUISepaAssWindow::Operation::kRestore,
                   job.HtmlFile);
}
