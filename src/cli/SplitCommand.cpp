#include "SplitCommand.h"

#include <cmath>
#include <limits>
#include <memory>
#include <string_view>

#include "CliAssistantRun.h"
#include "CliDestination.h"
#include "CliOptions.h"
#include "CliRunFiles.h"
#include "DividoraCli.h"
#include "KPXChecksumFile.h"
#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "KPXSepaCtrl.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "tkvFileString.h"

namespace {

// The window reads a size as a single-precision number times its unit. A byte count is given
// in the largest unit that keeps it exact that way; otherwise ioBytes becomes the nearest size
// the split can use, never above the largest piece.
void SizeAsTyped(int64_t& ioBytes, std::string& ouNumber, int32_t& ouUnit) {
    constexpr int64_t kExactInSingle = int64_t{1} << 24;
    constexpr auto kMostBytes = static_cast<double>(std::numeric_limits<int32_t>::max());
    for (int64_t unit : {int64_t{1073741824}, int64_t{1048576}, int64_t{1024}, int64_t{1}}) {
        if (ioBytes % unit == 0 && ioBytes / unit <= kExactInSingle) {
            ouNumber = std::to_string(ioBytes / unit);
            ouUnit = static_cast<int32_t>(unit);
            return;
        }
    }
    float single = static_cast<float>(ioBytes);
    if (static_cast<double>(single) > kMostBytes) {
        single = std::nextafter(single, 0.0f);
    }
    ioBytes = static_cast<int64_t>(single);
    ouNumber = std::to_string(ioBytes);
    ouUnit = 1;
}

// How many pieces the split of agSource into pieces of agPieceSize bytes (header included)
// makes; 0 when that cannot be told.
int64_t PiecesOfSize(const std::string& agSource, int64_t agPieceSize) {
    int64_t length = 0;
    if (tkvFileString::GetPathKind(agSource) != tkvFileString::kFile ||
        !tkvFileString::GetFileLength(agSource, length)) {
        return 0;
    }
    auto job = std::make_shared<KPXSepaData>();
    job->SetFileAddress(agSource);
    KPXSepaCtrl sepaCtrl;
    sepaCtrl.SetSepaData(job);
    int32_t header = 0;
    if (!sepaCtrl.GetSizeOfHeader(header) || agPieceSize <= header) {
        return 0;
    }
    const int64_t data = agPieceSize - header;
    return (length + data - 1) / data;
}

// The names a random draw may give a piece that are taken already: NAME, four upper-case
// hexadecimal digits below the number of suffixes, ".KPX".
std::vector<std::string> TakenRandomNames(const std::string& agFolder, const std::string& agName) {
    std::vector<std::string> taken;
    const std::string_view extension(KPXDecideFileName::kExtension);
    for (const std::string& name : tkvFileString::FolderEntries(agFolder)) {
        if (name.size() == agName.size() + 4 + extension.size() &&
            name.compare(0, agName.size(), agName) == 0 &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0 &&
            KPXDecideFileName::IsRandomSuffix(std::string_view(name).substr(agName.size(), 4))) {
            taken.push_back(tkvFileString::JoinFolderAndName(agFolder, name));
        }
    }
    return taken;
}

}  // namespace

int SplitCommand::Run(const CliRequest& agRequest) {
    const std::string& source = agRequest.Inputs.front();
    const std::string name =
        agRequest.Name.empty()
            ? tkvFileString::RemoveExtension(tkvFileString::GetFileNamePart(source))
            : agRequest.Name;
    const std::string checksumFile =
        agRequest.NoChecksum
            ? std::string()
            : KPXChecksumFile::AddressOfSplit(agRequest.Folder, agRequest.Name, source);
    CliAssistantRun run(out_, err_, showProgress_);
    if (!agRequest.HtmlFile.empty()) {
        CliRunFiles files;
        files.AddFile(source);
        files.SetPieces(agRequest.Folder, name);
        if (!checksumFile.empty()) {
            files.AddFile(checksumFile);
        }
        const int status = run.PrepareHtmlFile(agRequest.HtmlFile, agRequest.Force, files);
        if (status != DividoraCli::kDone) {
            return status;
        }
    }
    KPXUtilSettings& settings = run.Settings();
    settings.SetUpperCountToWarn(static_cast<int32_t>(agRequest.MaxPieces));
    settings.SetConfirmFileSize(!agRequest.NoConfirmSize);
    settings.SetTransmissionByteSize(static_cast<int32_t>(agRequest.BlockSize));
    settings.SetClearCreatedFileWhenUncompleted(!agRequest.KeepPartial);
    CliWindow& window = run.Window();
    window.SeparateFileAddress = source;
    int64_t pieceSize = agRequest.PieceSize;
    if (agRequest.PieceCount > 0) {
        window.SeparateFileMode = KPXDecideFileSize::kByCount;
        window.SeparateFileModeCount = std::to_string(agRequest.PieceCount);
    } else {
        window.SeparateFileMode = KPXDecideFileSize::kBySize;
        SizeAsTyped(pieceSize, window.SeparateFileModeFileSize,
                    window.SeparateFileModeFileSizeUnit);
        if (pieceSize != agRequest.PieceSize) {
            err_ << "dividora-cli: note: --size is taken as " << pieceSize << " bytes\n";
        }
    }
    window.SeparateFileSepaAddress = agRequest.Folder;
    window.SeparateFileDividoraName = name;
    window.SeparateFileHowToName = static_cast<int32_t>(agRequest.HowToName);
    window.Force = agRequest.Force;
    window.ChecksumFile = !agRequest.NoChecksum;
    int status = run.Run(agRequest.Estimate ? KPXUISepaAssWindow::Operation::kEstimateSeparating
                                            : KPXUISepaAssWindow::Operation::kSeparate);
    if (status == DividoraCli::kFailed) {
        ExplainPieceLimit(agRequest, pieceSize);
    }
    const bool estimated = status == DividoraCli::kDone || status == DividoraCli::kFailed;
    if (agRequest.Estimate && estimated && run.Assistant() != nullptr) {
        if (CheckDestination(agRequest, name, run.Assistant()->EstimatedPiecePaths(),
                             checksumFile)) {
            status = DividoraCli::kFailed;
        }
    }
    return status;
}

void SplitCommand::ExplainPieceLimit(const CliRequest& agRequest, int64_t agPieceSize) {
    const int64_t pieces = agRequest.PieceCount > 0
                               ? agRequest.PieceCount
                               : PiecesOfSize(agRequest.Inputs.front(), agPieceSize);
    if (pieces > agRequest.MaxPieces) {
        err_ << "dividora-cli: the split would make " << pieces << " pieces, more than "
             << "--max-pieces " << agRequest.MaxPieces << " allows\n";
    }
}

bool SplitCommand::CheckDestination(const CliRequest& agRequest, const std::string& agName,
                                    const std::vector<std::string>& agEstimated,
                                    const std::string& agChecksumFile) {
    const bool random = agRequest.HowToName == KPXDecideFileName::kRandom;
    std::vector<std::string> targets = random ? std::vector<std::string>{} : agEstimated;
    if (!agChecksumFile.empty()) {
        targets.push_back(agChecksumFile);
    }
    const auto problems = CliDestination::Problems(
        agRequest.Folder, targets,
        random ? TakenRandomNames(agRequest.Folder, agName) : std::vector<std::string>{},
        agRequest.Force);
    for (const std::string& problem : problems) {
        err_ << "dividora-cli: " << problem << '\n';
    }
    return !problems.empty();
}
