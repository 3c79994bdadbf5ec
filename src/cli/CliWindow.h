#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CliProgress.h"
#include "KPXUIMsgBox.h"
#include "KPXUISepaAssWindow.h"
#include "tkvWebBrowser.h"

class KPXUISepaMng;

// The command line's stand-in for the main window: the inputs the options gave, the settings
// they chose, overwrite questions answered by --force, progress on a terminal.
class CliWindow : public KPXUISepaAssWindow, private KPXUIMsgBox, private tkvWebBrowser {
public:
    CliWindow(std::shared_ptr<KPXUISepaMng> agSepaMng, CliProgress& agProgress)
        : sepaMng_(std::move(agSepaMng)), progress_(agProgress) {}

    // The inputs, as the window's controls would hold them.
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
    // Replace existing files ("以降全て") instead of stopping ("実行をｷｬﾝｾﾙ").
    bool Force = false;

    std::shared_ptr<KPXUISepaMng> SepaMng() const override { return sepaMng_; }
    bool UnloadFlag() const override { return false; }
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
    void SetDoButtonEnabled(Operation, bool) override {}
    void SetPageSetFixed(PageSet, bool) override {}
    void SetStatusText(Operation, const std::string&) override {}
    tkvWebBrowser* ResultView(Operation) override { return this; }
    void ShowProgress(Operation, int64_t agDone, int64_t agTotal) override {
        progress_.Show(agDone, agTotal);
    }
    KPXUIMsgBox& OverwriteQuestion() override { return *this; }

private:
    int32_t MsgBox(const std::string&) override { return Force ? kAllYes : kCancel; }
    void Navigate(const std::string&) override {}

    std::shared_ptr<KPXUISepaMng> sepaMng_;
    CliProgress& progress_;
};
