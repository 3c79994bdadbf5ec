#include "EngineJobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "KPXDecideFileName.h"
#include "KPXDecideFileSize.h"
#include "tkvFileString.h"

void RecordingEvents::Add(const std::string& agLine) {
    Lines.push_back(agLine);
    if (OnEvent) {
        OnEvent(agLine);
    }
}

void RecordingEvents::StatusOfCreatingDividora(int32_t agCurrent, int32_t agTotal,
                                               const std::string& agName) {
    Add("Creating " + std::to_string(agCurrent) + "/" + std::to_string(agTotal) + " " + agName);
}

void RecordingEvents::StatusOfSeparatingFile(int64_t agPosition, int64_t agTotal) {
    Add("Source " + std::to_string(agPosition) + "/" + std::to_string(agTotal));
}

void RecordingEvents::StatusOfSeparatingToFile(int64_t agPosition, int64_t agTotal) {
    Add("Piece " + std::to_string(agPosition) + "/" + std::to_string(agTotal));
}

void RecordingEvents::StatusOfReadingAllHeadersOfDividoras() { Add("ReadingHeaders"); }

void RecordingEvents::StatusOfConfirmingRestorability() { Add("Confirming"); }

void RecordingEvents::StatusOfReadingDividora(int32_t agCurrent, int32_t agTotal,
                                              const std::string& agName) {
    Add("Reading " + std::to_string(agCurrent) + "/" + std::to_string(agTotal) + " " + agName);
}

void RecordingEvents::StatusOfRestoringFile(int64_t agPosition, int64_t agTotal) {
    Add("FromPiece " + std::to_string(agPosition) + "/" + std::to_string(agTotal));
}

void RecordingEvents::StatusOfRestoringToFile(int64_t agPosition, int64_t agTotal) {
    Add("ToRestored " + std::to_string(agPosition) + "/" + std::to_string(agTotal));
}

void RecordingEvents::OverwriteFile(const std::string& agFileAddress, bool& ouCancel) {
    ouCancel = RefuseOverwrite;
    Add("Overwrite " + agFileAddress);
}

std::shared_ptr<KPXSepaData> SplitJob(const std::string& agSource,
                                      const std::vector<int32_t>& agSizes,
                                      const std::vector<std::string>& agPaths,
                                      int32_t agBlockSize) {
    auto job = std::make_shared<KPXSepaData>();
    job->SetFileAddress(agSource);
    job->SetTransmissionByteSize(agBlockSize);
    job->SetConfirmFileSize(true);
    job->SetClearCreatedFileWhenUncompleted(true);
    job->SetSepaDate(45422.375);
    job->Initialize(static_cast<int32_t>(agSizes.size()));
    for (size_t i = 0; i < agSizes.size(); ++i) {
        job->DividoraData(static_cast<int32_t>(i))->SetFileSize(agSizes[i]);
        job->DividoraData(static_cast<int32_t>(i))->SetFileAddress(agPaths[i]);
    }
    job->DecideSpecAndTurnID();
    return job;
}

std::shared_ptr<KPXSepaData> RestoreJob(const std::vector<std::string>& agPieces,
                                        const std::string& agFolder, int32_t agBlockSize) {
    auto job = std::make_shared<KPXSepaData>();
    job->SetFileAddress(agFolder);
    job->SetTransmissionByteSize(agBlockSize);
    job->SetConfirmDividoraSize(true);
    job->SetClearCreatedFileWhenUncompleted(true);
    job->Initialize(static_cast<int32_t>(agPieces.size()));
    for (size_t i = 0; i < agPieces.size(); ++i) {
        job->DividoraData(static_cast<int32_t>(i))->SetFileAddress(agPieces[i]);
    }
    return job;
}

std::vector<std::string> SplitFile(const std::string& agSource, const std::string& agFolder,
                                   int32_t agPieceSize, int32_t agPieceCount, int32_t agHowToName,
                                   int32_t agBlockSize) {
    auto sepaCtrl = std::make_shared<KPXSepaCtrl>();
    auto job = std::make_shared<KPXSepaData>();
    sepaCtrl->SetSepaData(job);
    job->SetFileAddress(agSource);
    job->SetTransmissionByteSize(agBlockSize);
    job->SetConfirmFileSize(true);
    job->SetClearCreatedFileWhenUncompleted(true);
    int64_t size = 0;
    tkvFileString::GetFileLength(agSource, size);

    KPXDecideFileSize decideSize;
    decideSize.SetUpperCountToWarn(100000);
    decideSize.SetSepaMode(1);
    decideSize.SetHowToSeparate(agPieceSize > 0 ? KPXDecideFileSize::kBySize
                                                : KPXDecideFileSize::kByCount);
    decideSize.SetFileSizeToSeparate(agPieceSize);
    decideSize.SetIncludeSizeOfHeader(true);
    decideSize.SetSepaCtrl(sepaCtrl);
    decideSize.SetFileCountToSeparate(agPieceCount);
    decideSize.SetFileSize(size);
    decideSize.SetSepaData(job);
    KPXDecideFileName decideName;
    decideName.SetHowToName(agHowToName);
    decideName.SetBaseFileAddress(agFolder);
    decideName.SetBaseFileName("piece");
    decideName.SetSepaData(job);
    std::vector<std::string> pieces;
    if (!decideSize.Decide() || !decideName.Decide() || !job->DecideSpecAndTurnID() ||
        !sepaCtrl->Separate()) {
        ADD_FAILURE() << "split of " << agSource << " failed";
        return pieces;
    }
    for (int32_t i = 0; i < job->DividoraCount(); ++i) {
        pieces.push_back(job->DividoraData(i)->FileAddress());
    }
    return pieces;
}

std::string RestoreFiles(const std::vector<std::string>& agPieces, const std::string& agFolder,
                         int32_t agBlockSize) {
    KPXSepaCtrl sepaCtrl;
    const auto job = RestoreJob(agPieces, agFolder, agBlockSize);
    sepaCtrl.SetSepaData(job);
    if (!sepaCtrl.Restore()) {
        return {};
    }
    return tkvFileString::JoinFolderAndName(agFolder, job->DividoraData(0)->FileName());
}

int32_t OnlyError(const KPXSepaCtrl& agSepaCtrl) {
    const auto errors = agSepaCtrl.ErrorMng();
    return errors && errors->Count() == 1 ? errors->Number(0) : -1;
}
