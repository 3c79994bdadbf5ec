#pragma once

#include <cstdint>
#include <string>

// The events of KPXSepaCtrl, raised synchronously on the calling thread. A listener overrides
// what it needs. Positions and totals are byte counts of files that may exceed 2 GiB.
class KPXSepaCtrlEvents {
public:
    virtual ~KPXSepaCtrlEvents() = default;

    // Split, before piece agCurrent (from 1) of agTotal.
    virtual void StatusOfCreatingDividora(int32_t /*agCurrent*/, int32_t /*agTotal*/,
                                          const std::string& /*agPieceName*/) {}
    // Split: position in the source, and in the piece being written (1-based, header included).
    virtual void StatusOfSeparatingFile(int64_t /*agPosition*/, int64_t /*agTotal*/) {}
    virtual void StatusOfSeparatingToFile(int64_t /*agPosition*/, int64_t /*agTotal*/) {}
    // Restore, before the headers are read, and before they are compared.
    virtual void StatusOfReadingAllHeadersOfDividoras() {}
    virtual void StatusOfConfirmingRestorability() {}
    // Restore, before piece agCurrent (from 1) of agTotal is copied.
    virtual void StatusOfReadingDividora(int32_t /*agCurrent*/, int32_t /*agTotal*/,
                                         const std::string& /*agPieceName*/) {}
    // Restore: position in the piece being read, and in the restored file.
    virtual void StatusOfRestoringFile(int64_t /*agPosition*/, int64_t /*agTotal*/) {}
    virtual void StatusOfRestoringToFile(int64_t /*agPosition*/, int64_t /*agTotal*/) {}
    // Before an existing file is replaced; setting ouCancel refuses it.
    virtual void OverwriteFile(const std::string& /*agFileAddress*/, bool& /*ouCancel*/) {}
};
