#include "KPXSepaResult.h"

#include <stdexcept>

const std::string& KPXSepaResult::CreatedFile(int32_t agIndex) const {
    if (agIndex < 0 || agIndex >= CreatedFileCount()) {
        throw std::out_of_range("KPXSepaResult::CreatedFile: no file at position " +
                                std::to_string(agIndex));
    }
    return createdFiles_[static_cast<size_t>(agIndex)];
}

bool KPXSepaResult::GetErrorDataOfSeparatedFile(int32_t& ouIndex) const {
    if (errorIndex_ == -1) {
        return false;
    }
    ouIndex = errorIndex_;
    return true;
}
