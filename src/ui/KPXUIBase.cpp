#include "KPXUIBase.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDragEnterEvent>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include "DividoraVersion.h"
#include "KPXResultPage.h"
#include "KPXUIChecked.h"
#include "KPXUIDividoraDetail.h"
#include "KPXUIEstimate.h"
#include "KPXUIEstimateDialog.h"
#include "KPXUIMsgBoxDialog.h"
#include "KPXUIResources.h"
#include "KPXUISepaAss.h"
#include "KPXUISepaMng.h"
#include "tkvCancelMng.h"
#include "tkvCheckVersion.h"
#include "tkvClipBoardControl.h"
#include "tkvDateTime.h"
#include "tkvDialogFile.h"
#include "tkvDialogFolder.h"
#include "tkvFileString.h"
#include "tkvFramePage2.h"
#include "tkvMessageBox.h"
#include "tkvNetAccess.h"
#include "tkvOLEDrag.h"
#include "tkvQtString.h"
#include "tkvShowHTMLToIE.h"
#include "tkvTextBrowserView.h"
#include "tkvTwips.h"
#include "tkvTypedNumber.h"
#include "tkvWatchVersion.h"
#include "ui_KPXUIBase.h"

namespace {

using Operation = KPXUISepaAssWindow::Operation;

// The client area, in twips.
constexpr int32_t kClientWidth = 6735;
constexpr int32_t kClientHeight = 5055;

// Tabs: their height and the room between them, in twips.
constexpr int32_t kTabHeight = 330;
constexpr int32_t kTabGap = 30;

const char* kAllFiles = "すべてのﾌｧｲﾙ(*.*)";

// Marks the controls that take pasted and dropped file lists.
const char* kFileListTarget = "fileListTarget";

size_t Slot(Operation agOperation) { return static_cast<size_t>(agOperation); }

QString Q(const std::string& agText) { return tkvQtString::ToQt(agText); }
std::string S(const QString& agText) { return tkvQtString::FromQt(agText); }

// The folder a pasted or dropped path names for a folder box: the folder itself, else the
// folder it lies in.
bool FolderOfPath(const std::string& agPath, std::string& ouFolder) {
    if (tkvFileString::GetPathKind(agPath) == tkvFileString::kFolder) {
        ouFolder = agPath;
        return true;
    }
    std::string parent;
    if (!tkvFileString::GetParentFolder(agPath, 1, parent)) {
        return false;
    }
    // An entry of the root: the root itself, as "C:" stands for it on Windows.
    ouFolder = parent.empty() ? std::string(1, tkvFileString::kSeparator) : parent;
    return true;
}

}  // namespace

KPXUIBase::KPXUIBase(QWidget* agParent) : QMainWindow(agParent), ui_(new Ui::KPXUIBase) {
    ui_->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QString::fromUtf8(KPXUIResources::kIcon)));
    controls_[Slot(Operation::kEstimateSeparating)] = {
        ui_->cmSeparateFileEstimateDo, ui_->cmSeparateFileEstimateCancel,
        ui_->lblSeparateFileEstimateStatus, ui_->barSeparateFileEstimateProgress,
        ui_->wbSeparateFileEstimateResult};
    controls_[Slot(Operation::kEstimateRestoring)] = {
        ui_->cmRestoreDividoraEstimateDo, ui_->cmRestoreDividoraEstimateCancel,
        ui_->lblRestoreDividoraEstimateStatus, ui_->barRestoreDividoraEstimateProgress,
        ui_->wbRestoreDividoraEstimateResult};
    controls_[Slot(Operation::kSeparate)] = {
        ui_->cmSeparateFileActionDo, ui_->cmSeparateFileActionCancel,
        ui_->lblSeparateFileActionStatus, ui_->barSeparateFileActionProgress,
        ui_->wbSeparateFileActionLog};
    controls_[Slot(Operation::kRestore)] = {
        ui_->cmRestoreDividoraSepaActionDo, ui_->cmRestoreDividoraSepaActionCancel,
        ui_->lblRestoreDividoraSepaActionStatus, ui_->barRestoreDividoraSepaActionProgress,
        ui_->wbRestoreDividoraSepaActionLog};
    for (OperationControls& controls : controls_) {
        controls.Progress->hide();
        controls.Status->setMinimumWidth(1);  // a long status text must not widen the page
    }
    menuPopupOfAddressList_ = new QMenu(this);
    menuPopupOfAddressList_->setObjectName(QStringLiteral("menuPopupOfAddressList"));
    menuPopupOfAddressList_->addAction(ui_->menuPopupPaste);
    menuPopupOfAddressList_->addSeparator();
    menuPopupOfAddressList_->addAction(ui_->menuPopupAdd);
    menuPopupOfAddressList_->addAction(ui_->menuPopupRemove);
    menuPopupOfAddressList_->addAction(ui_->menuPopupClear);
    menuPopupOfAddressList_->addSeparator();
    menuPopupOfAddressList_->addAction(ui_->menuPopupHelp);
    overwriteQuestion_ = std::make_unique<KPXUIMsgBoxDialog>(this);
    ConnectControls();
    ConnectKeyboard();
    InstallFileListTargets();
    LayOutTabs();
}

KPXUIBase::~KPXUIBase() {
    if (lcWatchVersion) {
        lcWatchVersion->RemoveEvents(this);
    }
}

void KPXUIBase::SetSepaMng(std::shared_ptr<KPXUISepaMng> agSepaMng) {
    sepaMng_ = std::move(agSepaMng);
}

std::shared_ptr<KPXUtilSettings> KPXUIBase::SepaMng() const { return sepaMng_; }

KPXUIBase::OperationControls& KPXUIBase::Controls(Operation agOperation) {
    return controls_[Slot(agOperation)];
}

std::shared_ptr<tkvShowHTMLToIE> KPXUIBase::Viewer(Operation agOperation) const {
    return viewers_[Slot(agOperation)];
}

void KPXUIBase::ConnectControls() {
    connect(ui_->cmSeparateFileEstimateDo, &QPushButton::clicked, this,
            &KPXUIBase::RunSeparateEstimate);
    connect(ui_->cmRestoreDividoraEstimateDo, &QPushButton::clicked, this,
            &KPXUIBase::RunRestoreEstimate);
    connect(ui_->cmSeparateFileActionDo, &QPushButton::clicked, this, &KPXUIBase::RunSeparate);
    connect(ui_->cmRestoreDividoraSepaActionDo, &QPushButton::clicked, this,
            &KPXUIBase::RunRestore);
    for (const OperationControls& controls : controls_) {
        connect(controls.Cancel, &QPushButton::clicked, this, &KPXUIBase::CancelOperation);
    }

    connect(ui_->menuSeparate, &QAction::triggered, this, [this] {
        if (RequestRunning() || !FramePageBase()) {
            return;
        }
        FramePageBase()->SetIndex(kPageSeparateFile);
        FramePageSeparateFile()->SetIndex(kPageSeparateFileAction);
        RunSeparate();
    });
    connect(ui_->menuRestore, &QAction::triggered, this, [this] {
        if (RequestRunning() || !FramePageBase()) {
            return;
        }
        FramePageBase()->SetIndex(kPageRestoreDividora);
        FramePageRestoreDividora()->SetIndex(kPageRestoreDividoraAction);
        RunRestore();
    });
    connect(ui_->menuEnd, &QAction::triggered, this, &QWidget::close);
    connect(ui_->menuGoToHelp, &QAction::triggered, this, [this] {
        if (sepaMng_) {
            tkvNetAccess::OpenWithShell(sepaMng_->FileAddressOfHelp());
        }
    });
    connect(ui_->menuVersion, &QAction::triggered, this, [this] {
        if (FramePageBase()) {
            FramePageBase()->SetIndex(kPageVersion);
        }
    });

    // The split page.
    connect(ui_->cmSeparateFileAddress, &QPushButton::clicked, this,
            &KPXUIBase::ChooseSeparateFileAddress);
    connect(ui_->cmSeparateFileSepaAddress, &QPushButton::clicked, this,
            &KPXUIBase::ChooseSeparateFileSepaAddress);
    connect(ui_->cmbSeparateFileHowToName, &QComboBox::currentIndexChanged, this, [this] {
        if (!loadFlag_ && sepaMng_) {
            sepaMng_->SetHowToNameDividora(cmbSeparateFileHowToName());
        }
    });
    connect(ui_->cmbSeparateFileMode, &QComboBox::currentIndexChanged, this,
            &KPXUIBase::SeparateFileModeChanged);
    connect(ui_->cmbSeparateFileModeFileSizeUnit, &QComboBox::currentIndexChanged, this, [this] {
        if (!loadFlag_ && sepaMng_) {
            sepaMng_->SetSeparateFileModeFileSizeUnit(cmbSeparateFileModeFileSizeUnit());
        }
    });

    // The restore page.
    connect(ui_->cmRestoreDividoraSepaAddressAdd, &QPushButton::clicked, this,
            &KPXUIBase::AddRestorePiece);
    connect(ui_->menuPopupAdd, &QAction::triggered, this, &KPXUIBase::AddRestorePiece);
    connect(ui_->menuPopupPaste, &QAction::triggered, this, &KPXUIBase::PasteRestorePieces);
    connect(ui_->cmRestoreDividoraSepaAddressRemove, &QPushButton::clicked, this,
            &KPXUIBase::RemoveRestorePiece);
    connect(ui_->menuPopupRemove, &QAction::triggered, this, &KPXUIBase::RemoveRestorePiece);
    connect(ui_->cmRestoreDividoraSepaAddressClear, &QPushButton::clicked, this,
            &KPXUIBase::ClearRestorePieces);
    connect(ui_->menuPopupClear, &QAction::triggered, this, &KPXUIBase::ClearRestorePieces);
    connect(ui_->cmRestoreDividoraSepaAddressDetail, &QPushButton::clicked, this,
            &KPXUIBase::ShowRestorePieceDetail);
    connect(ui_->lstRestoreDividoraSepaAddress, &QListWidget::itemDoubleClicked, this,
            &KPXUIBase::ShowRestorePieceDetail);
    // Only a choice of the user changes the label: the focus alone makes an entry current
    // without choosing it.
    connect(ui_->lstRestoreDividoraSepaAddress, &QListWidget::itemSelectionChanged, this,
            &KPXUIBase::ShowSelectedAddress);
    connect(ui_->menuPopupHelp, &QAction::triggered, this, [this] {
        if (sepaMng_) {
            tkvNetAccess::OpenWithShell(sepaMng_->FileAddressOfHowToAdd());
        }
    });
    ui_->lstRestoreDividoraSepaAddress->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui_->lstRestoreDividoraSepaAddress, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& agAt) {
                menuPopupOfAddressList_->popup(
                    ui_->lstRestoreDividoraSepaAddress->viewport()->mapToGlobal(agAt));
            });
    connect(ui_->cmRestoreDividoraAddress, &QPushButton::clicked, this,
            &KPXUIBase::ChooseRestoreDividoraAddress);

    // The settings page: every change is stored at once, but not while the load fills it.
    const auto bindCheck = [this](QCheckBox* agBox, void (KPXUtilSettings::*agSetter)(bool)) {
        connect(agBox, &QCheckBox::toggled, this, [this, agSetter](bool agChecked) {
            if (!loadFlag_ && sepaMng_) {
                ((*sepaMng_).*agSetter)(agChecked);
            }
        });
    };
    bindCheck(ui_->chkUtilityActionConfirmFileSize, &KPXUtilSettings::SetConfirmFileSize);
    bindCheck(ui_->chkUtilityActionConfirmDividoraSize, &KPXUtilSettings::SetConfirmDividoraSize);
    bindCheck(ui_->chkUtilityActionClearCreatedFileWhenUncompleted,
              &KPXUtilSettings::SetClearCreatedFileWhenUncompleted);
    bindCheck(ui_->chkUtilityEnvironmentDialogToEstimateRestoring,
              &KPXUtilSettings::SetDialogToEstimateRestoring);
    bindCheck(ui_->chkUtilityVersionCheckVersion, &KPXUtilSettings::SetCheckVersion);
    bindCheck(ui_->chkUtilityVersionNoticeWhenVersionChecked,
              &KPXUtilSettings::SetNoticeWhenVersionChecked);
    const auto bindCombo = [this](QComboBox* agBox, void (KPXUtilSettings::*agSetter)(int32_t)) {
        connect(agBox, &QComboBox::currentIndexChanged, this, [this, agBox, agSetter] {
            if (!loadFlag_ && sepaMng_) {
                ((*sepaMng_).*agSetter)(agBox->currentData().toInt());
            }
        });
    };
    bindCombo(ui_->cmbUtilityActionTransmissionByteSize, &KPXUtilSettings::SetTransmissionByteSize);
    bindCombo(ui_->cmbUtilityEnvironmentWhenRestoringFailed,
              &KPXUtilSettings::SetWhenRestoringFailed);
    bindCombo(ui_->cmbUtilityVersionFrequency, &KPXUtilSettings::SetFrequencyOfCheckingVersion);
    connect(ui_->cmbUtilityVersionFrequency, &QComboBox::currentIndexChanged, this, [this] {
        if (!loadFlag_ && sepaMng_) {
            ShowVersionCheckDates();
        }
    });
    connect(ui_->cmUtilityVersionCheckNow, &QPushButton::clicked, this,
            &KPXUIBase::CheckVersionNow);
    ui_->lblVersionHomePage->setCursor(Qt::PointingHandCursor);
    for (QWidget* focusWatched : {static_cast<QWidget*>(ui_->txtSeparateFileModeFileSize),
                                  static_cast<QWidget*>(ui_->txtSeparateFileModeCount),
                                  static_cast<QWidget*>(ui_->txtUtilityEnvironmentUpperCount),
                                  static_cast<QWidget*>(ui_->lblVersionHomePage)}) {
        focusWatched->installEventFilter(this);
    }
}

void KPXUIBase::InstallFileListTargets() {
    for (QWidget* target : {static_cast<QWidget*>(ui_->txtSeparateFileAddress),
                            static_cast<QWidget*>(ui_->txtSeparateFileSepaAddress),
                            static_cast<QWidget*>(ui_->txtSeparateFileDividoraName),
                            static_cast<QWidget*>(ui_->txtRestoreDividoraAddress),
                            static_cast<QWidget*>(ui_->lstRestoreDividoraSepaAddress)}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
        target->setProperty(kFileListTarget, true);
    }
    // A list's drops arrive at its viewport.
    ui_->lstRestoreDividoraSepaAddress->viewport()->setAcceptDrops(true);
    ui_->lstRestoreDividoraSepaAddress->viewport()->installEventFilter(this);
}

void KPXUIBase::FillComboBoxes() {
    const auto fill = [](QComboBox* agBox,
                         std::initializer_list<std::pair<const char*, int32_t>> agItems) {
        const QSignalBlocker quiet(agBox);
        agBox->clear();
        for (const auto& [text, data] : agItems) {
            agBox->addItem(QString::fromUtf8(text), data);
        }
    };
    fill(ui_->cmbSeparateFileHowToName,
         {{"ﾗﾝﾀﾞﾑ値を付ける", 1}, {"数字を付ける", 2}, {"ｾﾞﾛ埋めした数字を付ける", 3}});
    fill(ui_->cmbSeparateFileMode, {{"ｻｲｽﾞを指定して分割", 1}, {"分割数を指定して分割", 2}});
    fill(ui_->cmbSeparateFileModeFileSizeUnit,
         {{"ﾊﾞｲﾄ", 1}, {"KB", 1024}, {"MB", 1048576}, {"GB", 1073741824}});
    fill(ui_->cmbUtilityActionTransmissionByteSize, {{"16 KB ずつ転送", 16384},
                                                     {"256 KB ずつ転送", 262144},
                                                     {"1 MB ずつ転送", 1048576},
                                                     {"2 MB ずつ転送", 2097152},
                                                     {"8 MB ずつ転送", 8388608}});
    fill(ui_->cmbUtilityEnvironmentWhenRestoringFailed,
         {{"復元予測を実行する", 0}, {"復元予測を実行しない", 1}});
    fill(ui_->cmbUtilityVersionFrequency, {{"1日毎", 1}, {"1週間毎", 2}, {"1ヶ月毎", 3}});
}

std::vector<KPXUIBase::Tab> KPXUIBase::Tabs() const {
    return {
        {0, ui_->picSeparateFile, ui_->shpBaseCotrol_0, ui_->lblWordControl_0},
        {0, ui_->picRestoreDividora, ui_->shpBaseCotrol_1, ui_->lblWordControl_1},
        {0, ui_->picUtility, ui_->shpBaseCotrol_2, ui_->lblWordControl_2},
        {0, ui_->picVersion, nullptr, nullptr},
        {1, ui_->picSeparateFileAddress, ui_->sphBaseControlSeparateFile_0,
         ui_->lblWordControlSeparateFile_0},
        {1, ui_->picSeparateFileMode, ui_->sphBaseControlSeparateFile_1,
         ui_->lblWordControlSeparateFile_1},
        {1, ui_->picSeparateFileEstimate, ui_->sphBaseControlSeparateFile_2,
         ui_->lblWordControlSeparateFile_2},
        {1, ui_->picSeparateFileAction, ui_->sphBaseControlSeparateFile_3,
         ui_->lblWordControlSeparateFile_3},
        {2, ui_->picRestoreDividoraAddress, ui_->sphBaseControlRestoreDividora_0,
         ui_->lblWordControlRestoreDividora_0},
        {2, ui_->picRestoreDividoraEstimate, ui_->sphBaseControlRestoreDividora_1,
         ui_->lblWordControlRestoreDividora_1},
        {2, ui_->picRestoreDividoraAction, ui_->sphBaseControlRestoreDividora_2,
         ui_->lblWordControlRestoreDividora_2},
        {3, ui_->picUtilityAction, ui_->sphBaseControlBaseUtility_0,
         ui_->lblWordControlWordUtility_0},
        {3, ui_->picUtilityEnvironment, ui_->sphBaseControlBaseUtility_1,
         ui_->lblWordControlWordUtility_1},
        {3, ui_->picUtilityVersion, ui_->sphBaseControlBaseUtility_2,
         ui_->lblWordControlWordUtility_2},
    };
}

void KPXUIBase::LayOutTabs() {
    // Room around the tabs for the current one's enlargement.
    const int margin = tkvTwips::ToPixels(30, this);
    const int height = tkvTwips::ToPixels(kTabHeight, this);
    const int gap = tkvTwips::ToPixels(kTabGap, this);
    std::array<int, 4> x{margin, margin, margin, margin};
    for (const Tab& tab : Tabs()) {
        if (tab.Caption == nullptr) {
            continue;
        }
        const int width = tab.Caption->fontMetrics().horizontalAdvance(tab.Caption->text()) +
                          3 * tab.Caption->fontMetrics().averageCharWidth();
        tab.Background->setGeometry(x[tab.Set], margin, width, height);
        tab.Caption->setGeometry(x[tab.Set], margin, width, height);
        tab.Caption->raise();
        x[tab.Set] += width + gap;
        tab.Caption->parentWidget()->setFixedHeight(height + 2 * margin);
    }
}

void KPXUIBase::RegistPageSets() {
    for (auto& set : pageSets_) {
        set = std::make_unique<tkvFramePage2>();
    }
    for (const Tab& tab : Tabs()) {
        pageSets_[tab.Set]->Regist(tab.Container, tab.Background, tab.Caption);
    }
    FramePageBase()->SetIndex(kPageSeparateFile);
    for (size_t i = 1; i < pageSets_.size(); ++i) {
        pageSets_[i]->EnlargingX = 0;
        pageSets_[i]->SetIndex(0);
    }
}

tkvFramePage2* KPXUIBase::CurrentSubPages() const {
    if (!FramePageBase()) {
        return nullptr;
    }
    switch (FramePageBase()->Index()) {
        case kPageSeparateFile:
            return FramePageSeparateFile();
        case kPageRestoreDividora:
            return FramePageRestoreDividora();
        case kPageUtility:
            return FramePageUtility();
        default:
            return nullptr;
    }
}

void KPXUIBase::ConnectKeyboard() {
    // Ctrl+PgDn and Ctrl+PgUp go round the pages, Ctrl+Tab and Ctrl+Shift+Tab round the
    // current page's sub-pages, as in the tab widgets of other programs.
    const auto bind = [this](const QKeySequence& agKeys, std::function<void()> agStep) {
        auto* shortcut = new QShortcut(agKeys, this);
        connect(shortcut, &QShortcut::activated, this, std::move(agStep));
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] {
        if (FramePageBase()) {
            FramePageBase()->Step(1);
        }
    });
    bind(QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] {
        if (FramePageBase()) {
            FramePageBase()->Step(-1);
        }
    });
    bind(QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] {
        if (tkvFramePage2* pages = CurrentSubPages()) {
            pages->Step(1);
        }
    });
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), [this] {
        if (tkvFramePage2* pages = CurrentSubPages()) {
            pages->Step(-1);
        }
    });
}

void KPXUIBase::FixSize() {
    // Every page in turn, as the page sets show them, must fit: with a large font a page needs
    // more than the design size.
    QWidget* central = centralWidget();
    // Measured with the fonts and style the controls will show.
    ensurePolished();
    for (QWidget* child : central->findChildren<QWidget*>()) {
        child->ensurePolished();
    }
    QSize needed(tkvTwips::ToPixels(kClientWidth, this), tkvTwips::ToPixels(kClientHeight, this));
    const std::vector<Tab> tabs = Tabs();
    std::vector<bool> shown;
    for (const Tab& tab : tabs) {
        shown.push_back(tab.Container->isVisibleTo(tab.Container->parentWidget()));
    }
    const auto measure = [&] {
        // Every cached size hint, from the controls up, is asked again.
        for (QWidget* child : central->findChildren<QWidget*>()) {
            child->updateGeometry();
        }
        for (QLayout* layout : central->findChildren<QLayout*>()) {
            layout->invalidate();
        }
        central->layout()->activate();
        needed = needed.expandedTo(central->minimumSizeHint());
    };
    for (const Tab& base : tabs) {
        if (base.Set != 0) {
            continue;
        }
        for (const Tab& other : tabs) {
            if (other.Set == 0) {
                other.Container->setVisible(other.Container == base.Container);
            }
        }
        bool measured = false;
        for (const Tab& page : tabs) {
            if (page.Set == 0 || !base.Container->isAncestorOf(page.Container)) {
                continue;
            }
            for (const Tab& sibling : tabs) {
                if (sibling.Set == page.Set) {
                    sibling.Container->setVisible(sibling.Container == page.Container);
                }
            }
            measure();
            measured = true;
        }
        if (!measured) {
            measure();  // the version page has no sub-pages
        }
    }
    for (size_t i = 0; i < tabs.size(); ++i) {
        tabs[i].Container->setVisible(shown[i]);
    }
    central->setFixedSize(needed);
    // A fixed size: the window manager offers no maximize button and no resizing.
    adjustSize();
    setFixedSize(size());
}

void KPXUIBase::Load() {
    RegistPageSets();
    FillComboBoxes();
    FixSize();
    loadFlag_ = true;
    PlaceAtStoredPosition();
    TransferSettings();
    ShowVersionCheckDates();
    loadFlag_ = false;
    setWindowTitle(Q(sepaMng_->ProductName()));
    ShowVersionInformation();
    ShowAddressCount();
    // Until an entry is chosen the label shows nothing rather than its design text.
    ui_->lblRestoreDividoraSepaAddress->clear();
    ShowSelectedAddress();
    for (const Operation operation : {Operation::kEstimateSeparating, Operation::kSeparate,
                                      Operation::kEstimateRestoring, Operation::kRestore}) {
        Controls(operation).Status->clear();
        ShowInitialResultPage(operation);
    }
    // The first box of the split page, rather than the first tab, has the focus at start.
    ui_->txtSeparateFileAddress->setFocus();
    if (lcWatchVersion) {
        lcWatchVersion->RemoveEvents(this);
    }
    lcWatchVersion = sepaMng_->WatchingControl();
    if (lcWatchVersion) {
        lcWatchVersion->AddEvents(this);
    }
}

void KPXUIBase::TransferSettings() {
    const KPXUISepaMng& settings = *sepaMng_;
    ui_->chkUtilityActionConfirmFileSize->setChecked(settings.ConfirmFileSize());
    ui_->chkUtilityActionConfirmDividoraSize->setChecked(settings.ConfirmDividoraSize());
    SelectComboItemByData(ui_->cmbUtilityActionTransmissionByteSize,
                          settings.TransmissionByteSize(), 2);
    ui_->chkUtilityActionClearCreatedFileWhenUncompleted->setChecked(
        settings.ClearCreatedFileWhenUncompleted());
    ui_->txtUtilityEnvironmentUpperCount->setText(QString::number(settings.UpperCountToWarn()));
    ui_->chkUtilityEnvironmentDialogToEstimateRestoring->setChecked(
        settings.DialogToEstimateRestoring());
    SelectComboItemByData(ui_->cmbUtilityEnvironmentWhenRestoringFailed,
                          settings.WhenRestoringFailed(), 0);
    SelectComboItemByData(ui_->cmbSeparateFileHowToName, settings.HowToNameDividora(), 1);
    SelectComboItemByData(ui_->cmbSeparateFileMode, settings.HowToSeparate(), 0);
    // The mode's handler sets the boxes up also when the first entry was selected already.
    SeparateFileModeChanged();
    SelectComboItemByData(ui_->cmbSeparateFileModeFileSizeUnit,
                          settings.SeparateFileModeFileSizeUnit(), 2);
    ui_->chkUtilityVersionCheckVersion->setChecked(settings.CheckVersion());
    ui_->chkUtilityVersionNoticeWhenVersionChecked->setChecked(settings.NoticeWhenVersionChecked());
    SelectComboItemByData(ui_->cmbUtilityVersionFrequency, settings.FrequencyOfCheckingVersion(),
                          1);
}

void KPXUIBase::ShowInitialResultPage(Operation agOperation) {
    auto viewer = std::make_shared<tkvShowHTMLToIE>();
    viewers_[Slot(agOperation)] = viewer;
    if (!viewer->CreateAddress()) {
        return;
    }
    viewer->SetHTML(KPXResultPage::PlaceholderHTML(viewer->Address()));
    viewer->SetWebBrowser(Controls(agOperation).View);
    viewer->Show();
}

namespace {

// agPosition kept within [agLow, agHigh - agLength]; at agLow when even that does not fit.
int32_t Clamp(int32_t agPosition, int32_t agLow, int32_t agHigh, int32_t agLength) {
    if (agPosition > agHigh - agLength) {
        agPosition = agHigh - agLength;
    }
    return agPosition < agLow ? agLow : agPosition;
}

}  // namespace

int32_t KPXUIBase::ClampLeft(int32_t agX) const {
    const QRect area = screen()->availableGeometry();
    return Clamp(agX, tkvTwips::FromPixels(area.left(), this),
                 tkvTwips::FromPixels(area.left() + area.width(), this),
                 tkvTwips::FromPixels(frameGeometry().width(), this));
}

int32_t KPXUIBase::ClampTop(int32_t agY) const {
    const QRect area = screen()->availableGeometry();
    return Clamp(agY, tkvTwips::FromPixels(area.top(), this),
                 tkvTwips::FromPixels(area.top() + area.height(), this),
                 tkvTwips::FromPixels(frameGeometry().height(), this));
}

void KPXUIBase::PlaceAtStoredPosition() {
    if (!sepaMng_) {
        return;
    }
    const QPoint corner(tkvTwips::ToPixels(ClampLeft(sepaMng_->BasePositionX()), this),
                        tkvTwips::ToPixels(ClampTop(sepaMng_->BasePositionY()), this));
    move(corner);
    // Until the window manager has framed the window, a move places its client area: the
    // corner is reached once the frame is known (see moveEvent).
    pendingPosition_ = corner;
}

void KPXUIBase::moveEvent(QMoveEvent* agEvent) {
    QMainWindow::moveEvent(agEvent);
    ReachPendingPosition();
}

void KPXUIBase::showEvent(QShowEvent* agEvent) {
    QMainWindow::showEvent(agEvent);
    // The frame is known once the window is on the screen.
    QTimer::singleShot(0, this, [this] { ReachPendingPosition(); });
}

void KPXUIBase::ReachPendingPosition() {
    if (!pendingPosition_ || !isVisible()) {
        return;
    }
    const QRect frame = frameGeometry();
    if (frame.size() == geometry().size()) {
        return;  // no frame yet, or none at all: the client area is the window
    }
    const QPoint wanted = *pendingPosition_;
    pendingPosition_.reset();
    // With the frame known, clamp again against the whole window and move its corner there.
    const QRect area = screen()->availableGeometry();
    const QPoint corner(Clamp(wanted.x(), area.left(), area.left() + area.width(), frame.width()),
                        Clamp(wanted.y(), area.top(), area.top() + area.height(), frame.height()));
    if (frame.topLeft() != corner) {
        QTimer::singleShot(0, this, [this, corner] { move(corner); });
    }
}

bool KPXUIBase::event(QEvent* agEvent) {
    if (agEvent->type() == QEvent::WindowActivate && !unloadFlag_) {
        if (activateHook_) {
            activateHook_();
        }
        // Writing the setting back switches the watch on: the automatic check starts only once
        // the window is up.
        if (sepaMng_) {
            sepaMng_->SetCheckVersion(sepaMng_->CheckVersion());
        }
    }
    return QMainWindow::event(agEvent);
}

void KPXUIBase::closeEvent(QCloseEvent* agEvent) {
    agEvent->accept();
    if (unloadFlag_) {
        return;
    }
    unloadFlag_ = true;
    CancelOperation();
    if (sepaMng_) {
        const QPoint at = pos();
        sepaMng_->SetBasePositionX(tkvTwips::FromPixels(at.x(), this));
        sepaMng_->SetBasePositionY(tkvTwips::FromPixels(at.y(), this));
    }
    // A request still on its way keeps its own objects; the window stays until it returns.
    if (!RequestRunning()) {
        for (auto& set : pageSets_) {
            set.reset();
        }
    }
    if (quitHook_) {
        quitHook_();
    }
}

void KPXUIBase::CancelOperation() {
    if (runningAssistant_ != nullptr) {
        if (const auto cancelMng = runningAssistant_->CancelMng()) {
            cancelMng->Cancel();
        }
    }
}

void KPXUIBase::RunSeparateEstimate() { RunRequest(Operation::kEstimateSeparating); }

void KPXUIBase::RunRestoreEstimate() { RunRequest(Operation::kEstimateRestoring); }

void KPXUIBase::RunSeparate() { RunRequest(Operation::kSeparate); }

void KPXUIBase::RunRestore() {
    if (!RunRequest(Operation::kRestore) && !unloadFlag_ && !RequestRunning()) {
        FollowFailedRestore();
    }
}

bool KPXUIBase::RunRequest(Operation agOperation) {
    // One request at a time: a click or a menu command that comes through the event pump while
    // one runs starts nothing.
    if (RequestRunning() || unloadFlag_ || !sepaMng_ || !FramePageBase()) {
        return true;
    }
    LockRequests(true);
    KPXUISepaAss assistant(*this);
    runningAssistant_ = &assistant;
    requestStarted_ = std::chrono::steady_clock::now();
    bool result = false;
    try {
        switch (agOperation) {
            case Operation::kEstimateSeparating:
                result = assistant.EstimateSeparating();
                break;
            case Operation::kEstimateRestoring:
                result = assistant.EstimateRestoring();
                break;
            case Operation::kSeparate:
                result = assistant.Separate();
                break;
            case Operation::kRestore:
                result = assistant.Restore();
                break;
        }
    } catch (const std::exception& error) {
        ShowRequestFailure(agOperation, error.what());
    } catch (...) {
        ShowRequestFailure(agOperation, {});
    }
    if (const auto page = assistant.ShowHTMLToIE()) {
        viewers_[Slot(agOperation)] = page;
    }
    runningAssistant_ = nullptr;
    if (unloadFlag_) {
        for (auto& set : pageSets_) {
            set.reset();
        }
        return result;
    }
    Controls(agOperation).Progress->hide();
    // Whatever the request left behind, the window is idle again.
    for (auto& set : pageSets_) {
        set->SetIsFixed(false);
    }
    LockRequests(false);
    return result;
}

void KPXUIBase::LockRequests(bool agLocked) {
    for (const OperationControls& controls : controls_) {
        controls.Do->setEnabled(!agLocked);
    }
    ui_->menuSeparate->setEnabled(!agLocked);
    ui_->menuRestore->setEnabled(!agLocked);
    if (sepaMng_ && sepaMng_->WatchingControl()) {
        sepaMng_->WatchingControl()->SetHeld(agLocked);
    }
}

void KPXUIBase::ShowRequestFailure(Operation agOperation, const std::string& agWhat) {
    // The assistant passes on what escaped the engine; the window says so and stays usable.
    const std::string failure =
        "予期せぬｴﾗｰが発生しました。" + (agWhat.empty() ? "" : " " + agWhat);
    Controls(agOperation).Status->setText(Q(failure));
    auto viewer = std::make_shared<tkvShowHTMLToIE>();
    if (!viewer->CreateAddress()) {
        return;
    }
    KPXResultPage page(agOperation);
    page.Failed({failure}, {});
    viewer->SetHTML(KPXResultPage::HTML(page.Document(), viewer->Address()));
    viewer->SetWebBrowser(Controls(agOperation).View);
    viewer->Show();
    viewers_[Slot(agOperation)] = viewer;
}

void KPXUIBase::FollowFailedRestore() {
    bool planned = false;
    if (sepaMng_->DialogToEstimateRestoring()) {
        KPXUIEstimateDialog question(this);
        bool showAgain = true;
        const int32_t answer = question.MsgBox(showAgain);
        if (answer == KPXUIEstimate::kYes) {
            sepaMng_->SetDialogToEstimateRestoring(showAgain);
            sepaMng_->SetWhenRestoringFailed(0);
            planned = true;
        } else if (answer == KPXUIEstimate::kNo) {
            sepaMng_->SetDialogToEstimateRestoring(showAgain);
            sepaMng_->SetWhenRestoringFailed(1);
        }
        ui_->chkUtilityEnvironmentDialogToEstimateRestoring->setChecked(
            sepaMng_->DialogToEstimateRestoring());
        SelectComboItemByData(ui_->cmbUtilityEnvironmentWhenRestoringFailed,
                              sepaMng_->WhenRestoringFailed(), 0);
    } else {
        planned = sepaMng_->WhenRestoringFailed() == 0;
    }
    if (planned) {
        FramePageRestoreDividora()->SetIndex(kPageRestoreDividoraEstimate);
        RunRestoreEstimate();
    }
}

void KPXUIBase::SelectAllText(QLineEdit* agTextBox) {
    // After the focus event, or the mouse click that gave the focus would undo the selection.
    QMetaObject::invokeMethod(
        agTextBox,
        [agTextBox] {
            agTextBox->setCursorPosition(0);
            agTextBox->selectAll();
        },
        Qt::QueuedConnection);
}

bool KPXUIBase::SelectComboItemByData(QComboBox* agComboBox, int32_t agValue,
                                      int32_t agFallbackIndex) {
    const int found = agComboBox->findData(agValue);
    agComboBox->setCurrentIndex(found != -1 ? found : agFallbackIndex);
    return true;
}

bool KPXUIBase::eventFilter(QObject* agWatched, QEvent* agEvent) {
    QObject* target = agWatched == ui_->lstRestoreDividoraSepaAddress->viewport()
                          ? ui_->lstRestoreDividoraSepaAddress
                          : agWatched;
    switch (agEvent->type()) {
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(agEvent);
            if (target == ui_->lstRestoreDividoraSepaAddress && key->key() == Qt::Key_Delete &&
                key->modifiers() == Qt::NoModifier) {
                RemoveRestorePiece();
                return true;
            }
            std::vector<std::string> list;
            int32_t count = 0;
            if (key->key() == Qt::Key_V && key->modifiers() == Qt::ControlModifier &&
                target->property(kFileListTarget).isValid() &&
                tkvClipBoardControl::GetClipboardFileList(list, count)) {
                TakeFileList(target, list);
                // The clipboard's text form of the same files would follow the paths here.
                return true;
            }
            break;
        }
        case QEvent::DragEnter:
            if (target->property(kFileListTarget).isValid()) {
                tkvOLEDrag::AllowFileDrop(static_cast<QDragEnterEvent*>(agEvent));
                return true;
            }
            break;
        case QEvent::DragMove:
            if (target->property(kFileListTarget).isValid()) {
                tkvOLEDrag::AllowFileDrop(static_cast<QDragMoveEvent*>(agEvent));
                return true;
            }
            break;
        case QEvent::Drop:
            if (target->property(kFileListTarget).isValid()) {
                std::vector<std::string> list;
                if (tkvOLEDrag::GetDroppedFileList(static_cast<QDropEvent*>(agEvent), this, list)) {
                    TakeFileList(target, list);
                }
                return true;
            }
            break;
        case QEvent::FocusIn:
            if (agWatched == ui_->txtSeparateFileModeFileSize ||
                agWatched == ui_->txtSeparateFileModeCount ||
                agWatched == ui_->txtUtilityEnvironmentUpperCount) {
                SelectAllText(static_cast<QLineEdit*>(agWatched));
            }
            break;
        case QEvent::FocusOut: {
            // Leaving the box for another control or a tab of this window; not for the box's
            // own context menu, nor for another program.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(agEvent)->reason();
            if (agWatched == ui_->txtUtilityEnvironmentUpperCount && !loadFlag_ && !unloadFlag_ &&
                reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
                // Once the focus has gone where it goes: a tab click that took it is over by
                // then, and the warning's own switch of pages stands.
                QMetaObject::invokeMethod(
                    this,
                    [this] {
                        if (!unloadFlag_ && sepaMng_ && FramePageBase()) {
                            UpperCountLeft();
                        }
                    },
                    Qt::QueuedConnection);
            }
            break;
        }
        case QEvent::MouseButtonRelease:
            if (agWatched == ui_->lblVersionHomePage && sepaMng_) {
                tkvNetAccess::OpenWithShell(sepaMng_->SiteAddressOfTKV());
            }
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(agWatched, agEvent);
}

void KPXUIBase::TakeFileList(QObject* agTarget, const std::vector<std::string>& agList) {
    if (agTarget == ui_->lstRestoreDividoraSepaAddress) {
        AppendRestorePieces(agList);
        return;
    }
    if (agList.empty()) {
        return;
    }
    const std::string& first = agList.front();
    std::string folder;
    if (agTarget == ui_->txtSeparateFileAddress) {
        if (tkvFileString::GetPathKind(first) == tkvFileString::kFile) {
            ui_->txtSeparateFileAddress->setText(Q(first));
        }
    } else if (agTarget == ui_->txtSeparateFileSepaAddress) {
        if (FolderOfPath(first, folder)) {
            ui_->txtSeparateFileSepaAddress->setText(Q(folder));
        }
    } else if (agTarget == ui_->txtSeparateFileDividoraName) {
        ui_->txtSeparateFileDividoraName->setText(
            Q(tkvFileString::RemoveExtension(tkvFileString::GetFileNamePart(first))));
    } else if (agTarget == ui_->txtRestoreDividoraAddress) {
        if (FolderOfPath(first, folder)) {
            ui_->txtRestoreDividoraAddress->setText(Q(folder));
        }
    }
}

void KPXUIBase::ChooseSeparateFileAddress() {
    tkvDialogFile dialog;
    dialog.SetWindowHandle(this);
    dialog.SetFilter(std::string(kAllFiles) + std::string(1, '\0') + "*.*" + std::string(1, '\0'));
    dialog.SetFilterIndex(0);
    dialog.SetFlags(tkvDialogFile::kFileMustExist);
    dialog.SetTitle("分割元ﾌｧｲﾙを開く");
    if (dialog.ShowDialogOfOpen()) {
        ui_->txtSeparateFileAddress->setText(Q(dialog.SelectedAddress()));
    }
}

void KPXUIBase::ChooseSeparateFileSepaAddress() {
    tkvDialogFolder dialog;
    dialog.SetWindowHandle(this);
    dialog.SetFlags(tkvDialogFolder::kFileSystemFoldersOnly);
    dialog.SetComment("分割先のﾌｫﾙﾀﾞを指定して下さい。");
    dialog.SetWindowText("分割先のﾌｫﾙﾀﾞを指定する");
    if (dialog.ShowDialog()) {
        ui_->txtSeparateFileSepaAddress->setText(Q(dialog.SelectedAddress()));
    }
}

void KPXUIBase::SeparateFileModeChanged() {
    const int index = ui_->cmbSeparateFileMode->currentIndex();
    if (index == 0 || index == 1) {
        const bool bySize = index == 0;
        ui_->txtSeparateFileModeFileSize->setEnabled(bySize);
        ui_->cmbSeparateFileModeFileSizeUnit->setEnabled(bySize);
        ui_->txtSeparateFileModeCount->setEnabled(!bySize);
    }
    if (!loadFlag_ && sepaMng_) {
        sepaMng_->SetHowToSeparate(cmbSeparateFileMode());
    }
}

void KPXUIBase::AddRestorePiece() {
    tkvDialogFile dialog;
    dialog.SetWindowHandle(this);
    dialog.SetFilter(std::string(kAllFiles) + std::string(1, '\0') + "*.*" + std::string(1, '\0'));
    dialog.SetFilterIndex(0);
    dialog.SetFlags(tkvDialogFile::kFileMustExist);
    dialog.SetTitle("復元元ﾌｧｲﾙを開く");
    if (dialog.ShowDialogOfOpen()) {
        ui_->lstRestoreDividoraSepaAddress->addItem(Q(dialog.SelectedAddress()));
        ShowAddressCount();
    }
}

void KPXUIBase::PasteRestorePieces() {
    std::vector<std::string> list;
    int32_t count = 0;
    if (tkvClipBoardControl::GetClipboardFileList(list, count)) {
        AppendRestorePieces(list);
    }
}

void KPXUIBase::AppendRestorePieces(const std::vector<std::string>& agList) {
    for (const std::string& path : agList) {
        if (tkvFileString::GetPathKind(path) == tkvFileString::kFile) {
            ui_->lstRestoreDividoraSepaAddress->addItem(Q(path));
        }
    }
    ShowAddressCount();
}

void KPXUIBase::ListPieces(const std::vector<std::string>& agPieces) {
    AppendRestorePieces(agPieces);
    if (FramePageBase()) {
        FramePageBase()->SetIndex(kPageRestoreDividora);
        FramePageRestoreDividora()->SetIndex(kPageRestoreDividoraAddress);
    }
}

void KPXUIBase::RemoveRestorePiece() {
    QListWidget* list = ui_->lstRestoreDividoraSepaAddress;
    const int row = list->currentRow();
    if (row < 0 || list->selectedItems().isEmpty()) {
        return;
    }
    {
        // The list would choose the next entry itself, and a second 削除 would remove it too;
        // the label keeps the removed entry until the user chooses another.
        const QSignalBlocker quiet(list);
        delete list->takeItem(row);
        list->clearSelection();
    }
    ShowAddressCount();
}

void KPXUIBase::ClearRestorePieces() {
    const std::string title = sepaMng_ ? sepaMng_->ProductName() : std::string();
    if (tkvMessageBox::Show(this, "ﾘｽﾄの内容をすべて消去します。\r\n\r\nよろしいですか?",
                            tkvMessageBox::Icon::kInformation, tkvMessageBox::Buttons::kOKCancel,
                            title) == tkvMessageBox::kOK) {
        ui_->lstRestoreDividoraSepaAddress->clear();
        ShowAddressCount();
    }
}

void KPXUIBase::ShowRestorePieceDetail() {
    const QListWidget& list = *ui_->lstRestoreDividoraSepaAddress;
    const int selected = list.selectedItems().isEmpty() ? -1 : list.currentRow();
    KPXUIDividoraDetail detail(this, lstRestoreDividoraSepaAddress(),
                               sepaMng_ ? sepaMng_->ProductName() : std::string(), selected);
    detail.Show();
}

void KPXUIBase::ChooseRestoreDividoraAddress() {
    tkvDialogFolder dialog;
    dialog.SetWindowHandle(this);
    dialog.SetFlags(tkvDialogFolder::kFileSystemFoldersOnly);
    dialog.SetComment("復元先のﾌｫﾙﾀﾞを指定して下さい。");
    dialog.SetWindowText("復元先のﾌｫﾙﾀﾞを指定する");
    if (dialog.ShowDialog()) {
        ui_->txtRestoreDividoraAddress->setText(Q(dialog.SelectedAddress()));
    }
}

void KPXUIBase::ShowAddressCount() {
    ui_->lblRestoreDividoraSepaAddressCount->setText(
        QString::number(ui_->lstRestoreDividoraSepaAddress->count()) + QStringLiteral(" 個"));
}

void KPXUIBase::ShowSelectedAddress() {
    const QList<QListWidgetItem*> selected = ui_->lstRestoreDividoraSepaAddress->selectedItems();
    if (selected.isEmpty()) {
        return;  // the label keeps what it shows
    }
    const QListWidgetItem* item = selected.front();
    QLabel* label = ui_->lblRestoreDividoraSepaAddress;
    label->setText(Q(CompactToLabel(label, S(item->text()))));
    label->setToolTip(item->text());
}

std::string KPXUIBase::CompactToLabel(const QLabel* agLabel, const std::string& agPath) const {
    const QFontMetrics metrics = agLabel->fontMetrics();
    return tkvFileString::CompactPathToWidth(
        [&metrics](const std::string& agText) {
            return static_cast<int32_t>(metrics.horizontalAdvance(Q(agText)));
        },
        agPath, agLabel->width());
}

void KPXUIBase::UpperCountLeft() {
    int32_t count = 0;
    if (tkvTypedNumber::ParseCount(S(ui_->txtUtilityEnvironmentUpperCount->text()), count)) {
        sepaMng_->SetUpperCountToWarn(count);
        return;
    }
    FramePageBase()->SetIndex(kPageUtility);
    FramePageUtility()->SetIndex(kPageUtilityEnvironment);
    tkvMessageBox::Show(this, "「警告する分割数の上限」に設定できる値は、0より大きな数です。",
                        tkvMessageBox::Icon::kExclamation, tkvMessageBox::Buttons::kOK);
    ui_->txtUtilityEnvironmentUpperCount->setText(QString::number(sepaMng_->UpperCountToWarn()));
    ui_->txtUtilityEnvironmentUpperCount->setFocus();
    SelectAllText(ui_->txtUtilityEnvironmentUpperCount);
}

void KPXUIBase::ShowVersionCheckDates() {
    if (!sepaMng_ || !sepaMng_->IsVersionChecked()) {
        ui_->lblUtilityVersionLastCheckedDate->setText(
            QStringLiteral("前回にﾊﾞｰｼﾞｮﾝｱｯﾌﾟを確認したことがありません。"));
        ui_->lblUtilityVersionDateToCheckNext->setText(
            QStringLiteral("次回のﾊﾞｰｼﾞｮﾝｱｯﾌﾟを確認する日付が決定されていません。"));
        return;
    }
    ui_->lblUtilityVersionLastCheckedDate->setText(
        Q("前回は" + tkvDateTime::JapaneseDateText(sepaMng_->LastTimeVersionChecked()) +
          "にﾊﾞｰｼﾞｮﾝｱｯﾌﾟを確認しました。"));
    ui_->lblUtilityVersionDateToCheckNext->setText(
        Q("次回は" + tkvDateTime::JapaneseDateText(sepaMng_->NextTimeToCheckVersion()) +
          "以降にﾊﾞｰｼﾞｮﾝｱｯﾌﾟを確認する予定です。"));
}

void KPXUIBase::CheckVersionNow() {
    const auto watch = sepaMng_ ? sepaMng_->WatchingControl() : nullptr;
    if (!watch) {
        return;
    }
    ui_->cmUtilityVersionCheckNow->setEnabled(false);
    // The check asked for waits for its answer, bounded by the check's time limits.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool checked = watch->Check(true);
    QApplication::restoreOverrideCursor();
    if (!checked) {
        tkvMessageBox::Show(this, "バージョンアップの確認は失敗しました。",
                            tkvMessageBox::Icon::kError, tkvMessageBox::Buttons::kOK);
    } else {
        const auto check = watch->CheckingControl();
        if (!(check && check->IsUpDated()) && !sepaMng_->NoticeWhenVersionChecked()) {
            KPXUIChecked::ShowNotice(this);  // a check asked for always answers
        }
    }
    ui_->cmUtilityVersionCheckNow->setEnabled(true);
}

void KPXUIBase::ShowVersionInformation() {
    const std::string majorMinor =
        std::to_string(DividoraVersion::kMajor) + "." + std::to_string(DividoraVersion::kMinor);
    ui_->lblVersionApplicationName->setText(
        Q(std::string(DividoraVersion::kProduct) + " " + majorMinor));
    ui_->lblVersionCopyright->setText(QString::fromUtf8(DividoraVersion::kCopyright));
    ui_->lblVersionDetail->setText(
        Q("ﾊﾞｰｼﾞｮﾝ詳細: " + majorMinor + "." + std::to_string(DividoraVersion::kRevision)));
    if (sepaMng_) {
        ui_->lblVersionHomePage->setText(
            QStringLiteral("<a href=\"%1\">%1</a>").arg(Q(sepaMng_->SiteAddressOfTKV())));
    }
    const int side = tkvTwips::ToPixels(960, this);
    ui_->imgVersionAppIcon->setPixmap(
        QIcon(QString::fromUtf8(KPXUIResources::kVersionPicture)).pixmap(QSize(side, side)));
}

void KPXUIBase::lcWatchVersion_VersionChecked() { ShowVersionCheckDates(); }

std::string KPXUIBase::txtSeparateFileAddress() const {
    return S(ui_->txtSeparateFileAddress->text());
}

int32_t KPXUIBase::cmbSeparateFileMode() const {
    return ui_->cmbSeparateFileMode->currentData().toInt();
}

std::string KPXUIBase::txtSeparateFileModeFileSize() const {
    return S(ui_->txtSeparateFileModeFileSize->text());
}

int32_t KPXUIBase::cmbSeparateFileModeFileSizeUnit() const {
    return ui_->cmbSeparateFileModeFileSizeUnit->currentData().toInt();
}

std::string KPXUIBase::txtSeparateFileModeCount() const {
    return S(ui_->txtSeparateFileModeCount->text());
}

std::string KPXUIBase::txtSeparateFileSepaAddress() const {
    return S(ui_->txtSeparateFileSepaAddress->text());
}

std::string KPXUIBase::txtSeparateFileDividoraName() const {
    return S(ui_->txtSeparateFileDividoraName->text());
}

int32_t KPXUIBase::cmbSeparateFileHowToName() const {
    return ui_->cmbSeparateFileHowToName->currentData().toInt();
}

std::vector<std::string> KPXUIBase::lstRestoreDividoraSepaAddress() const {
    std::vector<std::string> list;
    for (int i = 0; i < ui_->lstRestoreDividoraSepaAddress->count(); ++i) {
        list.push_back(S(ui_->lstRestoreDividoraSepaAddress->item(i)->text()));
    }
    return list;
}

std::string KPXUIBase::txtRestoreDividoraAddress() const {
    return S(ui_->txtRestoreDividoraAddress->text());
}

void KPXUIBase::SetDoButtonEnabled(Operation agOperation, bool agEnabled) {
    Controls(agOperation).Do->setEnabled(agEnabled && !RequestRunning());
}

void KPXUIBase::SetPageSetFixed(PageSet agPageSet, bool agFixed) {
    const size_t index = agPageSet == PageSet::kFramePageBase           ? 0
                         : agPageSet == PageSet::kFramePageSeparateFile ? 1
                                                                        : 2;
    if (pageSets_[index]) {
        pageSets_[index]->SetIsFixed(agFixed);
    }
}

void KPXUIBase::SetStatusText(Operation agOperation, const std::string& agText) {
    Controls(agOperation).Status->setText(Q(agText));
}

tkvWebBrowser* KPXUIBase::ResultView(Operation agOperation) { return Controls(agOperation).View; }

void KPXUIBase::ShowProgress(Operation agOperation, int64_t agDone, int64_t agTotal) {
    QProgressBar* bar = Controls(agOperation).Progress;
    const int percent = agTotal > 0 ? static_cast<int>(agDone * 100 / agTotal) : 100;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - requestStarted_).count();
    const double rate = seconds > 0 ? static_cast<double>(agDone) / seconds / 1048576.0 : 0.0;
    bar->setRange(0, 100);
    bar->setValue(percent);
    bar->setFormat(QStringLiteral("%p%  %1 MiB/s").arg(rate, 0, 'f', 1));
    bar->show();
}

KPXUIMsgBox& KPXUIBase::OverwriteQuestion() { return *overwriteQuestion_; }
