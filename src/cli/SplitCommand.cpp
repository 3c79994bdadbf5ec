#include "SplitCommand.h"

#include <cmath>
#include <limits>

#include "CliAssistantRun.h"
#include "CliOptions.h"
#include "DividoraCli.h"
#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXUISepaMng.h"
#include "tkvFileString.h"

namespace {

constexpr int64_t kMaxInt32 = std::numeric_limits<int32_t>::max();

// What the command line asks for, checked.
struct SplitRequest {
    std::string Source;
    std::string Folder;
    std::string Name;
    int32_t HowToSeparate = KPXDecideFileSize::kBySize;
    int64_t PieceSize = 0;
    std::string PieceCount;
    int32_t HowToName = KPXDecideFileName::kPaddedNumber;
    int32_t MaxPieces = 100;
    CliJobOptions Job;
};

// Reads the request; an empty text when it is good, otherwise why not.
std::string ReadRequest(const std::vector<std::string>& agArguments, SplitRequest& ouRequest) {
    auto valued = CliOptions::JobValued();
    valued.insert({"-n", "--size", "--count", "--naming", "--max-pieces"});
    CliOptions options(CliOptions::JobFlags(), valued);
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
        ouRequest.PieceSize = number;
    } else {
        if (!CliOptions::ParseWholeNumber(options.Value("--count"), number) || number < 1 ||
            number > kMaxInt32) {
            return "--count must be a whole number above 0";
        }
        ouRequest.HowToSeparate = KPXDecideFileSize::kByCount;
        ouRequest.PieceCount = std::to_string(number);
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

// The window reads a size as a single-precision number times its unit. A byte count is given
// in the largest unit that keeps it exact that way; otherwise ioBytes becomes the nearest size
// the split can use, never above the largest piece.
void SizeAsTyped(int64_t& ioBytes, std::string& ouNumber, int32_t& ouUnit) {
    constexpr int64_t kExactInSingle = int64_t{1} << 24;
    for (int64_t unit : {int64_t{1073741824}, int64_t{1048576}, int64_t{1024}, int64_t{1}}) {
        if (ioBytes % unit == 0 && ioBytes / unit <= kExactInSingle) {
            ouNumber = std::to_string(ioBytes / unit);
            ouUnit = static_cast<int32_t>(unit);
            return;
        }
    }
    float single = static_cast<float>(ioBytes);
    if (static_cast<double>(single) > static_cast<double>(kMaxInt32)) {
        single = std::nextafter(single, 0.0f);
    }
    ioBytes = static_cast<int64_t>(single);
    ouNumber = std::to_string(ioBytes);
    ouUnit = 1;
}

}  // namespace

int SplitCommand::Run(const std::vector<std::string>& agArguments) {
    SplitRequest request;
    const std::string bad = ReadRequest(agArguments, request);
    if (!bad.empty()) {
        return DividoraCli::BadUsage(err_, bad);
    }
    CliAssistantRun run(out_, err_, showProgress_);
    KPXUISepaMng& settings = run.Settings();
    settings.SetUpperCountToWarn(request.MaxPieces);
    settings.SetConfirmFileSize(request.Job.ConfirmSize);
    settings.SetTransmissionByteSize(request.Job.BlockSize);
    settings.SetClearCreatedFileWhenUncompleted(request.Job.ClearCreatedFiles);
    CliWindow& window = run.Window();
    window.SeparateFileAddress = request.Source;
    window.SeparateFileMode = request.HowToSeparate;
    if (request.HowToSeparate == KPXDecideFileSize::kBySize) {
        const int64_t asked = request.PieceSize;
        SizeAsTyped(request.PieceSize, window.SeparateFileModeFileSize,
                    window.SeparateFileModeFileSizeUnit);
        if (request.PieceSize != asked) {
            err_ << "dividora-cli: note: --size is taken as " << request.PieceSize << " bytes\n";
        }
    }
    window.SeparateFileModeCount = request.PieceCount;
    window.SeparateFileSepaAddress = request.Folder;
    window.SeparateFileDividoraName = request.Name;
    window.SeparateFileHowToName = request.HowToName;
    window.Force = request.Job.Force;
    return run.Run(request.Job.Estimate ? KPXUISepaAssWindow::Operation::kEstimateSeparating
                                        : KPXUISepaAssWindow::Operation::kSeparate,
                   request.Job.HtmlFile);
}
