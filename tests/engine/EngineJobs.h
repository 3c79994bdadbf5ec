#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "KPXSepaCtrl.h"
#include "KPXSepaCtrlEvents.h"

// Listens to a KPXSepaCtrl: keeps every event as a line of text, answers overwrite questions,
// and can run a step at a chosen event (a user's cancel click, say).
class RecordingEvents : public KPXSepaCtrlEvents {
public:
    std::vector<std::string> Lines;
    bool RefuseOverwrite = false;
    // Runs after each event, with the event's line.
    std::function<void(const std::string&)> OnEvent;

    void StatusOfCreatingDividora(int32_t agCurrent, int32_t agTotal,
                                  const std::string& agName) override;
    void StatusOfSeparatingFile(int64_t agPosition, int64_t agTotal) override;
    void StatusOfSeparatingToFile(int64_t agPosition, int64_t agTotal) override;
    void StatusOfReadingAllHeadersOfDividoras() override;
    void StatusOfConfirmingRestorability() override;
    void StatusOfReadingDividora(int32_t agCurrent, int32_t agTotal,
                                 const std::string& agName) override;
    void StatusOfRestoringFile(int64_t agPosition, int64_t agTotal) override;
    void StatusOfRestoringToFile(int64_t agPosition, int64_t agTotal) override;
    void OverwriteFile(const std::string& agFileAddress, bool& ouCancel) override;

private:
    void Add(const std::string& agLine);
};

// A split job whose records carry the given sizes and paths, ready for Separate.
std::shared_ptr<KPXSepaData> SplitJob(const std::string& agSource,
                                      const std::vector<int32_t>& agSizes,
                                      const std::vector<std::string>& agPaths, int32_t agBlockSize);

// A restore job of the given pieces into agFolder, ready for Restore.
std::shared_ptr<KPXSepaData> RestoreJob(const std::vector<std::string>& agPieces,
                                        const std::string& agFolder, int32_t agBlockSize);

// Splits agSource into agFolder as the assistant would: by size (header included) when
// agPieceSize > 0, else into agPieceCount pieces; the piece paths in join order.
std::vector<std::string> SplitFile(const std::string& agSource, const std::string& agFolder,
                                   int32_t agPieceSize, int32_t agPieceCount,
                                   int32_t agHowToName = 3, int32_t agBlockSize = 1048576);

// Restores agPieces into agFolder; the restored path, or empty on failure.
std::string RestoreFiles(const std::vector<std::string>& agPieces, const std::string& agFolder,
                         int32_t agBlockSize = 1048576);

// The single number the control registered (-1 when there is not exactly one).
int32_t OnlyError(const KPXSepaCtrl& agSepaCtrl);
