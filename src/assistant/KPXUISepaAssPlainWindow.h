#pragma once

#include <memory>
#include <string>
#include <vector>

#include "KPXUISepaAssWindow.h"

// The main window's inputs as plain members, for the command-line tool and for tests: what the
// window's controls would hold. The rest of the window is left to the deriving class.
class KPXUISepaAssPlainWindow : public KPXUISepaAssWindow {
public:
    explicit KPXUISepaAssPlainWindow(std::shared_ptr<KPXUtilSettings> agSepaMng)
        : sepaMng_(std::move(agSepaMng)) {}

    std::string SeparateFileAddress;
    int32_t SeparateFileMode = 1;
    std::string SeparateFileModeFileSize;
    int32_t SeparateFileModeFileSizeUnit = 1;
    std::string SeparateFileModeCount;
    std::string SeparateFileSepaAddress;
    std::string SeparateFileDividoraName;
    int32_t SeparateFileHowToName = 3;
    std::vector<std::string> RestoreDividoraSepaAddress;
    std::string RestoreDividoraAddress;

    std::shared_ptr<KPXUtilSettings> SepaMng() const override { return sepaMng_; }
    std::string txtSeparateFileAddress() const override { return SeparateFileAddress; }
    int32_t cmbSeparateFileMode() const override { return SeparateFileMode; }
    std::string txtSeparateFileModeFileSize() const override { return SeparateFileModeFileSize; }
    int32_t cmbSeparateFileModeFileSizeUnit() const override {
        return SeparateFileModeFileSizeUnit;
    }
    std::string txtSeparateFileModeCount() const override { return SeparateFileModeCount; }
    std::string txtSeparateFileSepaAddress() const override { return SeparateFileSepaAddress; }
    std::string txtSeparateFileDividoraName() const override { return SeparateFileDividoraName; }
    int32_t cmbSeparateFileHowToName() const override { return SeparateFileHowToName; }
    std::vector<std::string> lstRestoreDividoraSepaAddress() const override {
        return RestoreDividoraSepaAddress;
    }
    std::string txtRestoreDividoraAddress() const override { return RestoreDividoraAddress; }

private:
    std::shared_ptr<KPXUtilSettings> sepaMng_;
};
