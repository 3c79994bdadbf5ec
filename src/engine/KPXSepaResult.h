#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What one split or restore run created, and at which piece it failed.
class KPXSepaResult {
public:
    int32_t CreatedFileCount() const { return static_cast<int32_t>(createdFiles_.size()); }
    // Throws std::out_of_range outside 0 to CreatedFileCount() - 1.
    const std::string& CreatedFile(int32_t agIndex) const;
    void AddCreatedFile(const std::string& agPath) { createdFiles_.push_back(agPath); }

    // Position of the piece to blame; -1 when no piece is.
    int32_t ErrorIndex() const { return errorIndex_; }
    void SetErrorIndex(int32_t agIndex) { errorIndex_ = agIndex; }

    // True and the index when a piece is to blame; false, index untouched, otherwise.
    bool GetErrorDataOfSeparatedFile(int32_t& ouIndex) const;

    // The checksum file the split wrote, or the restore checked against; empty for none.
    const std::string& ChecksumFileAddress() const { return checksumFileAddress_; }
    void SetChecksumFileAddress(const std::string& agValue) { checksumFileAddress_ = agValue; }
    // A restore or verify found every piece's bytes and the whole file's as the checksum file
    // says.
    bool Verified() const { return verified_; }
    void SetVerified(bool agValue) { verified_ = agValue; }
    // The pieces a verify found differing from the checksum file, in join order.
    const std::vector<std::string>& DifferingPieces() const { return differingPieces_; }
    void AddDifferingPiece(const std::string& agPath) { differingPieces_.push_back(agPath); }

private:
    std::vector<std::string> createdFiles_;
    int32_t errorIndex_ = -1;
    std::string checksumFileAddress_;
    bool verified_ = false;
    std::vector<std::string> differingPieces_;
};
