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

private:
    std::vector<std::string> createdFiles_;
    int32_t errorIndex_ = -1;
};
