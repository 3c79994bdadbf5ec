#pragma once

#include <QMainWindow>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KPXUISepaAssWindow.h"
#include "tkvWatchVersionEvents.h"

namespace Ui {
class KPXUIBase;
}
class KPXUISepaAss;
class KPXUISepaMng;
class KPXUIMsgBoxDialog;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class tkvFramePage2;
class tkvShowHTMLToIE;
class tkvTextBrowserView;
class tkvWatchVersion;

// The main window: the split, restore, settings and version pages, their menus and the four
// result views. It splits and restores nothing itself: every request runs through a new
// operation assistant, which reads the inputs through this window's KPXUISepaAssWindow side and
// writes progress and pages back into it. One request at a time: while one runs, every Do
// button and both run commands start nothing, and a version check that falls due waits.
class KPXUIBase : public QMainWindow, public KPXUISepaAssWindow, private tkvWatchVersionEvents {
    Q_OBJECT

public:
    // The pages of each page set, in registration order.
    enum BasePage : int32_t { kPageSeparateFile, kPageRestoreDividora, kPageUtility, kPageVersion };
    enum SeparateFilePage : int32_t {
        kPageSeparateFileAddress,
        kPageSeparateFileMode,
        kPageSeparateFileEstimate,
        kPageSeparateFileAction
    };
    enum RestoreDividoraPage : int32_t {
        kPageRestoreDividoraAddress,
        kPageRestoreDividoraEstimate,
        kPageRestoreDividoraAction
    };
    enum UtilityPage : int32_t { kPageUtilityAction, kPageUtilityEnvironment, kPageUtilityVersion };

    explicit KPXUIBase(QWidget* agParent = nullptr);
    ~KPXUIBase() override;

    // The settings manager; none after the end of the run lets the window go.
    std::shared_ptr<KPXUISepaMng> Manager() const { return sepaMng_; }
    void SetSepaMng(std::shared_ptr<KPXUISepaMng> agSepaMng);

    // Run when the window becomes active (the splash goes), and when it unloads (the program
    // ends). Set by the start-up.
    void SetActivateHook(std::function<void()> agHook) { activateHook_ = std::move(agHook); }
    void SetQuitHook(std::function<bool()> agHook) { quitHook_ = std::move(agHook); }

    // The load handler: the pages, the settings into the controls, the initial pages.
    void Load();

    bool LoadFlag() const { return loadFlag_; }
    // The page sets exist from Load until the window unloads (none before and after).
    tkvFramePage2* FramePageBase() const { return pageSets_[0].get(); }
    tkvFramePage2* FramePageSeparateFile() const { return pageSets_[1].get(); }
    tkvFramePage2* FramePageRestoreDividora() const { return pageSets_[2].get(); }
    tkvFramePage2* FramePageUtility() const { return pageSets_[3].get(); }
    // True while a request runs.
    bool RequestRunning() const { return runningAssistant_ != nullptr; }
    // The page each result view shows.
    std::shared_ptr<tkvShowHTMLToIE> Viewer(Operation agOperation) const;

    // Puts agPieces into the restore list and shows the restore page: the pieces the program
    // was started with.
    void ListPieces(const std::vector<std::string>& agPieces);

    // Keeps a stored position (twips, the window's outer corner) on the screen: the whole
    // window, its frame included, inside the screen's available area.
    int32_t ClampLeft(int32_t agX) const;
    int32_t ClampTop(int32_t agY) const;

    // The window interface of the operation assistant.
    std::shared_ptr<KPXUtilSettings> SepaMng() const override;
    bool UnloadFlag() const override { return unloadFlag_; }
    std::string txtSeparateFileAddress() const override;
    int32_t cmbSeparateFileMode() const override;
    std::string txtSeparateFileModeFileSize() const override;
    int32_t cmbSeparateFileModeFileSizeUnit() const override;
    std::string txtSeparateFileModeCount() const override;
    std::string txtSeparateFileSepaAddress() const override;
    std::string txtSeparateFileDividoraName() const override;
    int32_t cmbSeparateFileHowToName() const override;
    std::vector<std::string> lstRestoreDividoraSepaAddress() const override;
    std::string txtRestoreDividoraAddress() const override;
    void SetDoButtonEnabled(Operation agOperation, bool agEnabled) override;
    void SetPageSetFixed(PageSet agPageSet, bool agFixed) override;
    void SetStatusText(Operation agOperation, const std::string& agText) override;
    tkvWebBrowser* ResultView(Operation agOperation) override;
    void ShowProgress(Operation agOperation, int64_t agDone, int64_t agTotal) override;
    KPXUIMsgBox& OverwriteQuestion() override;

public slots:
    void RunSeparateEstimate();
    void RunRestoreEstimate();
    void RunSeparate();
    void RunRestore();
    void CancelOperation();

protected:
    bool event(QEvent* agEvent) override;
    void moveEvent(QMoveEvent* agEvent) override;
    void showEvent(QShowEvent* agEvent) override;
    void closeEvent(QCloseEvent* agEvent) override;
    bool eventFilter(QObject* agWatched, QEvent* agEvent) override;

private:
    // The controls of one operation.
    struct OperationControls {
        QPushButton* Do = nullptr;
        QPushButton* Cancel = nullptr;
        QLabel* Status = nullptr;
        QProgressBar* Progress = nullptr;
        tkvTextBrowserView* View = nullptr;
    };

    OperationControls& Controls(Operation agOperation);
    // One tab: its page set, page container, background and caption (none for the version
    // page).
    struct Tab {
        size_t Set;
        QWidget* Container;
        QFrame* Background;
        QLabel* Caption;
    };
    std::vector<Tab> Tabs() const;

    void ConnectControls();
    void ConnectKeyboard();
    void InstallFileListTargets();
    void FillComboBoxes();
    void RegistPageSets();
    void LayOutTabs();
    // The window's size: the design size, or more where a page needs more at the user's font.
    void FixSize();
    // Puts the window's outer corner at the stored position, again once the window manager has
    // given it its frame.
    void PlaceAtStoredPosition();
    void ReachPendingPosition();
    // The sub-page set of the current page; none on the version page.
    tkvFramePage2* CurrentSubPages() const;
    void TransferSettings();
    void ShowInitialResultPage(Operation agOperation);

    bool RunRequest(Operation agOperation);
    // Every Do button and both run commands, and the version watch's hold.
    void LockRequests(bool agLocked);
    void ShowRequestFailure(Operation agOperation, const std::string& agWhat);
    void FollowFailedRestore();

    static void SelectAllText(QLineEdit* agTextBox);
    static bool SelectComboItemByData(QComboBox* agComboBox, int32_t agValue,
                                      int32_t agFallbackIndex);

    // The split page.
    void ChooseSeparateFileAddress();
    void ChooseSeparateFileSepaAddress();
    void TakeFileList(QObject* agTarget, const std::vector<std::string>& agList);
    void SeparateFileModeChanged();

    // The restore page.
    void AddRestorePiece();
    void PasteRestorePieces();
    void AppendRestorePieces(const std::vector<std::string>& agList);
    void RemoveRestorePiece();
    void ClearRestorePieces();
    void ShowRestorePieceDetail();
    void ChooseRestoreDividoraAddress();
    void ShowAddressCount();
    void ShowSelectedAddress();
    std::string CompactToLabel(const QLabel* agLabel, const std::string& agPath) const;

    // The settings and version pages.
    void UpperCountLeft();
    void ShowVersionCheckDates();
    void CheckVersionNow();
    void ShowVersionInformation();

    // tkvWatchVersionEvents, received from lcWatchVersion.
    void VersionChecked() override { lcWatchVersion_VersionChecked(); }
    void lcWatchVersion_VersionChecked();

    std::unique_ptr<Ui::KPXUIBase> ui_;
    std::shared_ptr<KPXUISepaMng> sepaMng_;
    bool loadFlag_ = false;
    bool unloadFlag_ = false;
    // FramePageBase, FramePageSeparateFile, FramePageRestoreDividora, FramePageUtility.
    std::array<std::unique_ptr<tkvFramePage2>, 4> pageSets_;
    KPXUISepaAss* runningAssistant_ = nullptr;
    std::chrono::steady_clock::time_point requestStarted_;
    // SeparateEstimateViewer, RestoreEstimateViewer, SeparateLogViewer, RestoreLogViewer.
    std::array<std::shared_ptr<tkvShowHTMLToIE>, 4> viewers_;
    std::array<OperationControls, 4> controls_;
    std::shared_ptr<tkvWatchVersion> lcWatchVersion;
    std::unique_ptr<KPXUIMsgBoxDialog> overwriteQuestion_;
    QMenu* menuPopupOfAddressList_ = nullptr;
    std::function<void()> activateHook_;
    std::function<bool()> quitHook_;
    // The outer corner (pixels) the window still has to reach; none once it is there.
    std::optional<QPoint> pendingPosition_;
};
