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
    InstallFileListTargets();
    centralWidget()->setFixedSize(tkvTwips::ToPixels(kClientWidth, this),
                                  tkvTwips::ToPixels(kClientHeight, this));
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
        FramePageBase()->SetIndex(0);
        FramePageSeparateFile()->SetIndex(3);
        RunSeparate();
    });
    connect(ui_->menuRestore, &QAction::triggered, this, [this] {
        if (RequestRunning() || !FramePageBase()) {
            return;
        }
        FramePageBase()->SetIndex(1);
        FramePageRestoreDividora()->SetIndex(2);
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
            FramePageBase()->SetIndex(3);
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
    connect(ui_->lstRestoreDividoraSepaAddress, &QListWidget::currentRowChanged, this,
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

void KPXUIBase::LayOutTabs() {
    struct Strip {
        QWidget* Widget;
        std::vector<std::pair<QFrame*, QLabel*>> Tabs;
    };
    const std::vector<Strip> strips = {
        {ui_->tabsBase,
         {{ui_->shpBaseCotrol_0, ui_->lblWordControl_0},
          {ui_->shpBaseCotrol_1, ui_->lblWordControl_1},
          {ui_->shpBaseCotrol_2, ui_->lblWordControl_2}}},
        {ui_->tabsSeparateFile,
         {{ui_->sphBaseControlSeparateFile_0, ui_->lblWordControlSeparateFile_0},
          {ui_->sphBaseControlSeparateFile_1, ui_->lblWordControlSeparateFile_1},
          {ui_->sphBaseControlSeparateFile_2, ui_->lblWordControlSeparateFile_2},
          {ui_->sphBaseControlSeparateFile_3, ui_->lblWordControlSeparateFile_3}}},
        {ui_->tabsRestoreDividora,
         {{ui_->sphBaseControlRestoreDividora_0, ui_->lblWordControlRestoreDividora_0},
          {ui_->sphBaseControlRestoreDividora_1, ui_->lblWordControlRestoreDividora_1},
          {ui_->sphBaseControlRestoreDividora_2, ui_->lblWordControlRestoreDividora_2}}},
        {ui_->tabsUtility,
         {{ui_->sphBaseControlBaseUtility_0, ui_->lblWordControlWordUtility_0},
          {ui_->sphBaseControlBaseUtility_1, ui_->lblWordControlWordUtility_1},
          {ui_->sphBaseControlBaseUtility_2, ui_->lblWordControlWordUtility_2}}},
    };
    // Room around the tabs for the current one's enlargement.
    const int margin = tkvTwips::ToPixels(30, this);
    const int height = tkvTwips::ToPixels(kTabHeight, this);
    const int gap = tkvTwips::ToPixels(kTabGap, this);
    for (const Strip& strip : strips) {
        int x = margin;
        for (const auto& [background, caption] : strip.Tabs) {
            const int width = caption->fontMetrics().horizontalAdvance(caption->text()) +
                              3 * caption->fontMetrics().averageCharWidth();
            background->setGeometry(x, margin, width, height);
            caption->setGeometry(x, margin, width, height);
            caption->raise();
            x += width + gap;
        }
        strip.Widget->setFixedHeight(height + 2 * margin);
    }
}

void KPXUIBase::RegistPageSets() {
    for (auto& set : pageSets_) {
        set = std::make_unique<tkvFramePage2>();
    }
    tkvFramePage2& base = *pageSets_[0];
    base.Regist(ui_->picSeparateFile, ui_->shpBaseCotrol_0, ui_->lblWordControl_0);
    base.Regist(ui_->picRestoreDividora, ui_->shpBaseCotrol_1, ui_->lblWordControl_1);
    base.Regist(ui_->picUtility, ui_->shpBaseCotrol_2, ui_->lblWordControl_2);
    base.Regist(ui_->picVersion, nullptr, nullptr);
    base.SetIndex(0);
    tkvFramePage2& split = *pageSets_[1];
    split.Regist(ui_->picSeparateFileAddress, ui_->sphBaseControlSeparateFile_0,
                 ui_->lblWordControlSeparateFile_0);
    split.Regist(ui_->picSeparateFileMode, ui_->sphBaseControlSeparateFile_1,
                 ui_->lblWordControlSeparateFile_1);
    split.Regist(ui_->picSeparateFileEstimate, ui_->sphBaseControlSeparateFile_2,
                 ui_->lblWordControlSeparateFile_2);
    split.Regist(ui_->picSeparateFileAction, ui_->sphBaseControlSeparateFile_3,
                 ui_->lblWordControlSeparateFile_3);
    tkvFramePage2& restore = *pageSets_[2];
    restore.Regist(ui_->picRestoreDividoraAddress, ui_->sphBaseControlRestoreDividora_0,
                   ui_->lblWordControlRestoreDividora_0);
    restore.Regist(ui_->picRestoreDividoraEstimate, ui_->sphBaseControlRestoreDividora_1,
                   ui_->lblWordControlRestoreDividora_1);
    restore.Regist(ui_->picRestoreDividoraAction, ui_->sphBaseControlRestoreDividora_2,
                   ui_->lblWordControlRestoreDividora_2);
    tkvFramePage2& utility = *pageSets_[3];
    utility.Regist(ui_->picUtilityAction, ui_->sphBaseControlBaseUtility_0,
                   ui_->lblWordControlWordUtility_0);
    utility.Regist(ui_->picUtilityEnvironment, ui_->sphBaseControlBaseUtility_1,
                   ui_->lblWordControlWordUtility_1);
    utility.Regist(ui_->picUtilityVersion, ui_->sphBaseControlBaseUtility_2,
                   ui_->lblWordControlWordUtility_2);
    for (size_t i = 1; i < pageSets_.size(); ++i) {
        pageSets_[i]->EnlargingX = 0;
        pageSets_[i]->SetIndex(0);
    }
}

void KPXUIBase::Load() {
    RegistPageSets();
    FillComboBoxes();
    loadFlag_ = true;
    move(tkvTwips::ToPixels(ClampLeft(sepaMng_->BasePositionX()), this),
         tkvTwips::ToPixels(ClampTop(sepaMng_->BasePositionY()), this));
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

int32_t KPXUIBase::ClampLeft(int32_t agX) const {
    if (agX < 0) {
        return 0;
    }
    const QScreen* screen = this->screen();
    const int32_t room = tkvTwips::FromPixels(screen->geometry().width(), this) -
                         tkvTwips::FromPixels(frameGeometry().width(), this);
    return room < agX ? room : agX;
}

int32_t KPXUIBase::ClampTop(int32_t agY) const {
    if (agY < 0) {
        return 0;
    }
    const QScreen* screen = this->screen();
    const int32_t room = tkvTwips::FromPixels(screen->geometry().height(), this) -
                         tkvTwips::FromPixels(frameGeometry().height(), this);
    return room < agY ? room : agY;
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
        FramePageRestoreDividora()->SetIndex(1);
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
        case QEvent::FocusOut:
            if (agWatched == ui_->txtUtilityEnvironmentUpperCount && !loadFlag_ && !unloadFlag_) {
                UpperCountLeft();
            }
            break;
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
        FramePageBase()->SetIndex(1);
        FramePageRestoreDividora()->SetIndex(0);
    }
}

void KPXUIBase::RemoveRestorePiece() {
    const int row = ui_->lstRestoreDividoraSepaAddress->currentRow();
    if (row < 0 || ui_->lstRestoreDividoraSepaAddress->selectedItems().isEmpty()) {
        return;
    }
    delete ui_->lstRestoreDividoraSepaAddress->takeItem(row);
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
    const QListWidgetItem* item = ui_->lstRestoreDividoraSepaAddress->currentItem();
    if (item == nullptr) {
        return;  // the label keeps what it shows
    }
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
    FramePageBase()->SetIndex(2);
    FramePageUtility()->SetIndex(1);
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
    bar->setFormat(QStringLiteral("%p%  %1 MB/s").arg(rate, 0, 'f', 1));
    bar->show();
}

KPXUIMsgBox& KPXUIBase::OverwriteQuestion() { return *overwriteQuestion_; }
