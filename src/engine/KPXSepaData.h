#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KPXDividoraData.h"
#include "tkvErrorMng.h"
#include "tkvIError.h"

class tkvCancelMng;

// One split or restore job: the file or folder it works on, the copy options and one record
// per piece.
class KPXSepaData : public tkvIError {
public:
    void SetCancelMng(std::shared_ptr<tkvCancelMng> agCancelMng) {
        cancelMng_ = std::move(agCancelMng);
    }

    // The registry of the last Initialize; none before the first. No numbers of its own.
    std::shared_ptr<tkvErrorMng> ErrorMng() const override { return lcErrorMng; }
    std::string ClassName() const override { return "KPXSepaData"; }

    // The moment of the split.
    double SepaDate() const { return sepaDate_; }
    void SetSepaDate(double agValue) { sepaDate_ = agValue; }
    // Split: the source file; restore: the folder the restored file goes into.
    const std::string& FileAddress() const { return fileAddress_; }
    void SetFileAddress(const std::string& agValue) { fileAddress_ = agValue; }
    // Split: the source length; restore: the sum of the pieces' data sizes.
    int64_t SourceFileSize() const { return sourceFileSize_; }
    void SetSourceFileSize(int64_t agValue) { sourceFileSize_ = agValue; }
    // Bytes per copy step; must be above 0.
    int32_t TransmissionByteSize() const { return transmissionByteSize_; }
    void SetTransmissionByteSize(int32_t agValue) { transmissionByteSize_ = agValue; }
    bool ConfirmFileSize() const { return confirmFileSize_; }
    void SetConfirmFileSize(bool agValue) { confirmFileSize_ = agValue; }
    bool ConfirmDividoraSize() const { return confirmDividoraSize_; }
    void SetConfirmDividoraSize(bool agValue) { confirmDividoraSize_ = agValue; }
    bool ClearCreatedFileWhenUncompleted() const { return clearCreatedFileWhenUncompleted_; }
    void SetClearCreatedFileWhenUncompleted(bool agValue) {
        clearCreatedFileWhenUncompleted_ = agValue;
    }

    // Split: where the checksum file of the pieces goes; empty writes none. Restore: the checksum
    // file to check the pieces against; empty looks for the set's beside its pieces.
    const std::string& ChecksumFileAddress() const { return checksumFileAddress_; }
    void SetChecksumFileAddress(const std::string& agValue) { checksumFileAddress_ = agValue; }

    int32_t DividoraCount() const { return dividoraCount_; }
    // The record at agIndex (none for a slot a restore estimate cleared). Throws
    // std::out_of_range outside 0 to DividoraCount() - 1.
    std::shared_ptr<KPXDividoraData> DividoraData(int32_t agIndex) const;
    void SetDividoraData(int32_t agIndex, std::shared_ptr<KPXDividoraData> agRecord);

    // Prepares agCount fresh records (none for a count of 0 or less). A cancel while the records
    // are made answers false, leaving the later positions without a record.
    bool Initialize(int32_t agCount);

    // Stamps a new random split identifier, the join positions, the split date, the count and
    // the source's name into every record.
    bool DecideSpecAndTurnID();

private:
    static void lcErrorMng_GetDescription(int32_t agNumber, std::string& ouDescription);
    size_t CheckedIndex(int32_t agIndex) const;

    std::shared_ptr<tkvErrorMng> lcErrorMng;
    std::shared_ptr<tkvCancelMng> cancelMng_;
    double sepaDate_ = 0.0;
    std::string fileAddress_;
    int64_t sourceFileSize_ = 0;
    int32_t transmissionByteSize_ = 0;
    bool confirmFileSize_ = false;
    bool confirmDividoraSize_ = false;
    bool clearCreatedFileWhenUncompleted_ = false;
    std::string checksumFileAddress_;
    int32_t dividoraCount_ = 0;
    std::vector<std::shared_ptr<KPXDividoraData>> records_;
};
