#include "DividoraCli.h"

#include "CleanCommand.h"
#include "CliInterrupt.h"
#include "CliOptions.h"
#include "InfoCommand.h"
#include "KPXUtilSettings.h"
#include "RestoreCommand.h"
#include "SplitCommand.h"
#include "VerifyCommand.h"

int DividoraCli::Run(const std::vector<std::string>& agArguments) {
    // Caught from the start: a signal before the operation begins still cancels it.
    CliInterrupt interrupt(!signalsCaughtToExit_);
    // The defaults are those of a fresh installation; the tool reads no settings file.
    const KPXUtilSettings defaults;
    const CliOptions options(defaults);
    CliRequest request;
    std::string text;
    switch (options.Parse(agArguments, request, text)) {
        case CliOptions::Outcome::kShown:
            out_ << text;
            return kDone;
        case CliOptions::Outcome::kBadUsage:
            err_ << text;
            return kBadUsage;
        case CliOptions::Outcome::kRun:
            break;
    }
    if (request.Command == "split") {
        return SplitCommand(out_, err_, showProgress_).Run(request);
    }
    if (request.Command == "restore") {
        return RestoreCommand(out_, err_, showProgress_).Run(request);
    }
    if (request.Command == "verify") {
        return VerifyCommand(out_, err_, showProgress_).Run(request);
    }
    if (request.Command == "clean") {
        return CleanCommand(out_, err_).Run(request.Inputs, request.Remove);
    }
    return InfoCommand(out_, err_).Run(request.Inputs);
}
