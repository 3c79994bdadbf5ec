#pragma once

#include <cstdint>
#include <string>

// One piece of a split: what its header says, and where the piece file is.
class KPXDividoraData {
public:
    // Moment of the split (same in all pieces of a split).
    double SepaDate() const { return sepaDate_; }
    void SetSepaDate(double agValue) { sepaDate_ = agValue; }
    // Random identifier of the split (same in all pieces of a split).
    int32_t SpecID() const { return specID_; }
    void SetSpecID(int32_t agValue) { specID_ = agValue; }
    // Position in the join order, from 0.
    int32_t TurnID() const { return turnID_; }
    void SetTurnID(int32_t agValue) { turnID_ = agValue; }
    // Number of pieces of the split.
    int32_t Count() const { return count_; }
    void SetCount(int32_t agValue) { count_ = agValue; }
    // Name, without folder, of the file the restore recreates.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& agValue) { fileName_ = agValue; }
    // Number of data bytes the piece carries, its header not included.
    int32_t FileSize() const { return fileSize_; }
    void SetFileSize(int32_t agValue) { fileSize_ = agValue; }
    // Full path of the piece file.
    const std::string& FileAddress() const { return fileAddress_; }
    void SetFileAddress(const std::string& agValue) { fileAddress_ = agValue; }

private:
    double sepaDate_ = 0.0;
    int32_t specID_ = 0;
    int32_t turnID_ = 0;
    int32_t count_ = 0;
    std::string fileName_;
    int32_t fileSize_ = 0;
    std::string fileAddress_;
};
