#pragma once

#include <memory>
#include <string>

#include "CliProgress.h"
#include "KPXUIMsgBox.h"
#include "KPXUISepaAssPlainWindow.h"
#include "tkvWebBrowser.h"

class KPXUtilSettings;

// The command line's stand-in for the main window: the inputs the options gave, the settings
// they chose, overwrite questions answered by --force, progress on a terminal.
class CliWindow : public KPXUISepaAssPlainWindow, private KPXUIMsgBox, private tkvWebBrowser {
public:
    CliWindow(std::shared_ptr<KPXUtilSettings> agSepaMng, CliProgress& agProgress)
        : KPXUISepaAssPlainWindow(std::move(agSepaMng)), progress_(agProgress) {}

    // Replace existing files ("以降全て") instead of stopping ("実行をｷｬﾝｾﾙ").
    bool Force = false;
    // --no-checksum clears it.
    bool ChecksumFile = true;
    // --checksum; empty: the set's file beside its pieces.
    std::string ChecksumAddress;
    // "-o -": the standard output.
    tkvFileHandle::Handle Stream = tkvFileHandle::kNoHandle;

    bool UnloadFlag() const override { return false; }
    void SetDoButtonEnabled(Operation, bool) override {}
    void SetPageSetFixed(PageSet, bool) override {}
    void SetStatusText(Operation, const std::string&) override {}
    tkvWebBrowser* ResultView(Operation) override { return this; }
    void ShowProgress(Operation, int64_t agDone, int64_t agTotal) override {
        progress_.Show(agDone, agTotal);
    }
    KPXUIMsgBox& OverwriteQuestion() override { return *this; }
    bool WriteChecksumFile() const override { return ChecksumFile; }
    std::string ChecksumFileAddress() const override { return ChecksumAddress; }
    tkvFileHandle::Handle RestoreStream() const override { return Stream; }

    // The file the last overwrite question was about and that was not replaced; empty when
    // none was refused.
    const std::string& RefusedAddress() const { return refusedAddress_; }

private:
    int32_t MsgBox(const std::string& agAddress) override {
        if (Force) {
            return kAllYes;
        }
        refusedAddress_ = agAddress;
        return kCancel;
    }
    void Navigate(const std::string&) override {}

    CliProgress& progress_;
    std::string refusedAddress_;
};
