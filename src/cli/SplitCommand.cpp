#include "SplitCommand.h"

#include <limits>
#include <memory>

#include "CliInterrupt.h"
#include "CliOptions.h"
#include "CliProgress.h"
#include "CliReport.h"
#include "DividoraCli.h"
#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXSepaCtrl.h"
#include "tkvCancelMng.h"
#include "tkvDateTime.h"
#include "tkvFileString.h"

namespace {

constexpr int64_t kMaxInt32 = std::numeric_limits<int32_t>::max();

// What the command line asks for, checked.
struct SplitRequest {
    std::string Source;
    std::string Folder;
    std::string Name;
    int32_t HowToSeparate = KPXDecideFileSize::kBySize;
    int32_t PieceSize = 0;
    int32_t PieceCount = 0;
    int32_t HowToName = KPXDecideFileName::kPaddedNumber;
    int32_t MaxPieces = 100;
    CliJobOptions Job;
};

// Reads the request; an empty text when it is good, otherwise why not.
std::string ReadRequest(const std::vector<std::string>& agArguments, SplitRequest& ouRequest) {
    auto flags = CliOptions::JobFlags();
    auto valued = CliOptions::JobValued();
    valued.insert({"-n", "--size", "--count", "--naming", "--max-pieces"});
    CliOptions options(flags, valued);
    if (!options.Parse(agArguments) || !options.JobOptions(ouRequest.Job)) {
        return options.Error();
    }
    if (options.Positional().size() != 1) {
        return "split needs exactly one SOURCE";
    }
    ouRequest.Source = options.Positional().front();
    ouRequest.Folder = options.Value("-o");
    ouRequest.Name = options.Value(
        "-n", tkvFileString::RemoveExtension(tkvFileString::GetFileNamePart(ouRequest.Source)));
    if (options.Has("--size") == options.Has("--count")) {
        return "give either --size SIZE or --count N";
    }
    int64_t number = 0;
    if (options.Has("--size")) {
        if (!CliOptions::ParseByteSize(options.Value("--size"), number) || number < 1) {
            return "--size must be a size such as 100MB";
        }
        if (number > kMaxInt32) {
            return "--size: a piece file can hold at most 2147483647 bytes";
        }
        ouRequest.PieceSize = static_cast<int32_t>(number);
    } else {
        if (!CliOptions::ParseWholeNumber(options.Value("--count"), number) || number < 1 ||
            number > kMaxInt32) {
            return "--count must be a whole number above 0";
        }
        ouRequest.HowToSeparate = KPXDecideFileSize::kByCount;
        ouRequest.PieceCount = static_cast<int32_t>(number);
    }
    const std::string naming = options.Value("--naming", "padded");
    if (naming == "random") {
        ouRequest.HowToName = KPXDecideFileName::kRandom;
    } else if (naming == "number") {
        ouRequest.HowToName = KPXDecideFileName::kNumber;
    } else if (naming != "padded") {
        return "--naming must be random, number or padded";
    }
    if (options.Has("--max-pieces")) {
        if (!CliOptions::ParseWholeNumber(options.Value("--max-pieces"), number) || number < 1 ||
            number > kMaxInt32) {
            return "--max-pieces must be a whole number above 0";
        }
        ouRequest.MaxPieces = static_cast<int32_t>(number);
    }
    return {};
}

}  // namespace

int SplitCommand::Run(const std::vector<std::string>& agArguments) {
    SplitRequest request;
    const std::string bad = ReadRequest(agArguments, request);
    if (!bad.empty()) {
        return DividoraCli::BadUsage(err_, bad);
    }
    int64_t sourceSize = 0;
    if (tkvFileString::GetPathKind(request.Source) != tkvFileString::kFile ||
        !tkvFileString::GetFileLength(request.Source, sourceSize)) {
        err_ << "dividora-cli: " << request.Source << ": 分割元ﾌｧｲﾙが存在しません。\n";
        return DividoraCli::kFailed;
    }

    auto cancelMng = std::make_shared<tkvCancelMng>();
    CliInterrupt interrupt(cancelMng);
    auto sepaCtrl = std::make_shared<KPXSepaCtrl>();
    auto sepaData = std::make_shared<KPXSepaData>();
    sepaCtrl->SetCancelMng(cancelMng);
    sepaCtrl->SetSepaData(sepaData);
    sepaData->SetCancelMng(cancelMng);
    sepaData->SetFileAddress(request.Source);
    sepaData->SetSepaDate(tkvDateTime::Now());
    sepaData->SetTransmissionByteSize(request.Job.BlockSize);
    sepaData->SetConfirmFileSize(request.Job.ConfirmSize);
    sepaData->SetClearCreatedFileWhenUncompleted(request.Job.ClearCreatedFiles);
    const auto stopped = [&](const std::shared_ptr<tkvIError>& agFailed) {
        if (interrupt.Interrupted()) {
            err_ << "dividora-cli: cancelled\n";
            return DividoraCli::kCancelled;
        }
        CliReport::PrintCauses(err_, agFailed);
        return DividoraCli::kFailed;
    };

    auto decideSize = std::make_shared<KPXDecideFileSize>();
    decideSize->SetCancelMng(cancelMng);
    decideSize->SetUpperCountToWarn(request.MaxPieces);
    decideSize->SetSepaMode(1);
    decideSize->SetHowToSeparate(request.HowToSeparate);
    decideSize->SetFileSizeToSeparate(request.PieceSize);
    decideSize->SetIncludeSizeOfHeader(true);
    decideSize->SetSepaCtrl(sepaCtrl);
    decideSize->SetFileCountToSeparate(request.PieceCount);
    decideSize->SetFileSize(sourceSize);
    decideSize->SetSepaData(sepaData);
    if (!decideSize->Decide()) {
        return stopped(decideSize);
    }

    KPXDecideFileName decideName;
    decideName.SetCancelMng(cancelMng);
    decideName.SetHowToName(request.HowToName);
    decideName.SetBaseFileAddress(request.Folder);
    decideName.SetBaseFileName(request.Name);
    decideName.SetSepaData(sepaData);
    if (!decideName.Decide()) {
        if (!interrupt.Interrupted()) {
            err_ << "dividora-cli: random names run out above "
                 << KPXDecideFileName::kRandomSuffixCount << " pieces\n";
        }
        return stopped(nullptr);
    }
    if (!sepaData->DecideSpecAndTurnID()) {
        return stopped(sepaData);
    }

    CliProgress progress(err_, showProgress_, request.Job.Force, sepaData);
    sepaCtrl->SetEvents(&progress);
    const bool done = sepaCtrl->Separate();
    progress.Finish();
    if (!done) {
        const int status = stopped(sepaCtrl);
        if (status == DividoraCli::kFailed) {
            CliReport::PrintFailedPiece(err_, *sepaCtrl);
        }
        return status;
    }
    for (int32_t i = 0; i < sepaData->DividoraCount(); ++i) {
        out_ << sepaData->DividoraData(i)->FileAddress() << '\n';
    }
    return DividoraCli::kDone;
}
