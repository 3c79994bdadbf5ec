#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tkvFileHandle.h"

class KPXUIMsgBox;
class KPXUtilSettings;
class tkvWebBrowser;

// What the operation assistant reads from and writes to the main window. The window implements
// it with its controls; tests and the command-line tool with plain members. The getters carry
// the names of the controls they read.
class KPXUISepaAssWindow {
public:
    // The four operations; each has its own Do button, status label and result view.
    enum class Operation { kEstimateSeparating, kEstimateRestoring, kSeparate, kRestore };
    // A split or its estimate, not a restore or its estimate.
    static bool IsSplit(Operation agOperation) {
        return agOperation == Operation::kEstimateSeparating || agOperation == Operation::kSeparate;
    }
    // The page sets the assistant locks while an operation runs.
    enum class PageSet { kFramePageBase, kFramePageSeparateFile, kFramePageRestoreDividora };

    virtual ~KPXUISepaAssWindow() = default;

    // The settings an operation reads; the assistant takes them once, as the operation begins,
    // so a window may let go of them while the operation still runs.
    virtual std::shared_ptr<KPXUtilSettings> SepaMng() const = 0;
    // True once the window has begun to close: its controls must not be touched any more.
    virtual bool UnloadFlag() const = 0;

    // The split page.
    virtual std::string txtSeparateFileAddress() const = 0;
    // Item data of the selected entry: 1 by piece size, 2 by piece count.
    virtual int32_t cmbSeparateFileMode() const = 0;
    virtual std::string txtSeparateFileModeFileSize() const = 0;
    // Item data of the selected entry: the unit's byte multiplier.
    virtual int32_t cmbSeparateFileModeFileSizeUnit() const = 0;
    virtual std::string txtSeparateFileModeCount() const = 0;
    virtual std::string txtSeparateFileSepaAddress() const = 0;
    virtual std::string txtSeparateFileDividoraName() const = 0;
    // Item data of the selected entry: the naming method.
    virtual int32_t cmbSeparateFileHowToName() const = 0;

    // The restore page.
    virtual std::vector<std::string> lstRestoreDividoraSepaAddress() const = 0;
    virtual std::string txtRestoreDividoraAddress() const = 0;

    // cmSeparateFileEstimateDo, cmRestoreDividoraEstimateDo, cmSeparateFileActionDo,
    // cmRestoreDividoraSepaActionDo.
    virtual void SetDoButtonEnabled(Operation agOperation, bool agEnabled) = 0;
    // IsFixed of the page set.
    virtual void SetPageSetFixed(PageSet agPageSet, bool agFixed) = 0;
    // lblSeparateFileEstimateStatus, lblRestoreDividoraEstimateStatus,
    // lblSeparateFileActionStatus, lblRestoreDividoraSepaActionStatus.
    virtual void SetStatusText(Operation agOperation, const std::string& agText) = 0;
    // wbSeparateFileEstimateResult, wbRestoreDividoraEstimateResult, wbSeparateFileActionLog,
    // wbRestoreDividoraSepaActionLog.
    virtual tkvWebBrowser* ResultView(Operation agOperation) = 0;

    // How far a split or restore is: agDone of agTotal bytes, after every copied block. A window
    // may show it as a bar; the default shows nothing.
    virtual void ShowProgress(Operation /*agOperation*/, int64_t /*agDone*/, int64_t /*agTotal*/) {}

    // The overwrite question, owned by this window.
    virtual KPXUIMsgBox& OverwriteQuestion() = 0;

    // Whether a split writes its checksum file (NAME.xxh128) beside the pieces; the window
    // always does.
    virtual bool WriteChecksumFile() const { return true; }
    // The checksum file a restore checks against; empty: the set's beside its pieces.
    virtual std::string ChecksumFileAddress() const { return {}; }
    // A restore writes into this stream (the tool's standard output) instead of a file in its
    // folder; kNoHandle: a file.
    virtual tkvFileHandle::Handle RestoreStream() const { return tkvFileHandle::kNoHandle; }
};
