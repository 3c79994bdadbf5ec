#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tkvErrorMng.h"
#include "tkvIError.h"

class KPXSepaCtrl;
class KPXSepaData;
class tkvCancelMng;

// Decides how many pieces a source is cut into and how many source bytes each carries, by
// piece size (header included or not) or by piece count, within a piece-count limit, and
// writes the decision into the job's records.
class KPXDecideFileSize : public tkvIError {
public:
    enum Error : int32_t {
        kBadFileSize = 1001,
        kBadPieceSize = 1002,
        kTooManyPieces = 1003,
        kRecordsNotMade = 1004,
        kPieceSmallerThanHeader = 1005,
        kNoSepaCtrl = 1006,
        kPieceDataTooLarge = 1007,
        kBadPieceCount = 1101,
    };
    static constexpr int32_t kBySize = 1;
    static constexpr int32_t kByCount = 2;

    void SetCancelMng(std::shared_ptr<tkvCancelMng> agCancelMng) {
        cancelMng_ = std::move(agCancelMng);
    }
    std::shared_ptr<tkvErrorMng> ErrorMng() const override { return lcErrorMng; }
    std::string ClassName() const override { return "KPXDecideFileSize"; }

    int32_t UpperCountToWarn() const { return upperCountToWarn_; }
    void SetUpperCountToWarn(int32_t agValue) { upperCountToWarn_ = agValue; }
    // Must be 1 for Decide to do anything.
    int32_t SepaMode() const { return sepaMode_; }
    void SetSepaMode(int32_t agValue) { sepaMode_ = agValue; }
    // kBySize or kByCount.
    int32_t HowToSeparate() const { return howToSeparate_; }
    void SetHowToSeparate(int32_t agValue) { howToSeparate_ = agValue; }
    // Size mode: the size of one piece file in bytes.
    int32_t FileSizeToSeparate() const { return fileSizeToSeparate_; }
    void SetFileSizeToSeparate(int32_t agValue) { fileSizeToSeparate_ = agValue; }
    // Size mode: whether FileSizeToSeparate includes the header, sized by SepaCtrl.
    bool IncludeSizeOfHeader() const { return includeSizeOfHeader_; }
    void SetIncludeSizeOfHeader(bool agValue) { includeSizeOfHeader_ = agValue; }
    std::shared_ptr<KPXSepaCtrl> SepaCtrl() const { return sepaCtrl_; }
    void SetSepaCtrl(std::shared_ptr<KPXSepaCtrl> agValue) { sepaCtrl_ = std::move(agValue); }
    // Count mode: the number of pieces.
    int32_t FileCountToSeparate() const { return fileCountToSeparate_; }
    void SetFileCountToSeparate(int32_t agValue) { fileCountToSeparate_ = agValue; }
    // The source's length; sources may exceed 2 GiB.
    int64_t FileSize() const { return fileSize_; }
    void SetFileSize(int64_t agValue) { fileSize_ = agValue; }
    std::shared_ptr<KPXSepaData> SepaData() const { return sepaData_; }
    void SetSepaData(std::shared_ptr<KPXSepaData> agValue) { sepaData_ = std::move(agValue); }

    // True when the job holds a complete decision.
    bool Decide();

private:
    bool DecideBySize();
    bool DecideByCount();
    // Makes agCount records; on failure registers 1004 and links the job.
    bool InitializeRecords(int64_t agCount);
    // Each record from agFirst to agLast - 1 gets agSize, with a cancel poll after each.
    bool SetSizes(int64_t agFirst, int64_t agLast, int64_t agSize);
    bool Fail(int32_t agNumber);
    // Registers 1003 with the computed count and the limit after its text.
    bool FailTooManyPieces(int64_t agCount);

    std::shared_ptr<tkvErrorMng> lcErrorMng;
    std::shared_ptr<std::string> tooManyPiecesDetail_;
    std::shared_ptr<tkvCancelMng> cancelMng_;
    int32_t upperCountToWarn_ = 1000;
    int32_t sepaMode_ = 0;
    int32_t howToSeparate_ = 0;
    int32_t fileSizeToSeparate_ = 0;
    bool includeSizeOfHeader_ = false;
    std::shared_ptr<KPXSepaCtrl> sepaCtrl_;
    int32_t fileCountToSeparate_ = 0;
    int64_t fileSize_ = 0;
    std::shared_ptr<KPXSepaData> sepaData_;
};
