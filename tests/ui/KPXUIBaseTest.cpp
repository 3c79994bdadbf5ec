#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFocusEvent>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "DialogAnswers.h"
#include "DividoraVersion.h"
#include "KPXUIBase.h"
#include "KPXUIChecked.h"
#include "KPXUIRenewable.h"
#include "KPXUIResources.h"
#include "KPXUISepaMng.h"
#include "KPXUIStartClass.h"
#include "KPXUIStartModule.h"
#include "LocalHttpServer.h"
#include "TestFiles.h"
#include "TestFolder.h"
#include "VersionFiles.h"
#include "tkvCallBackForTimerCtrl.h"
#include "tkvCheckVersion.h"
#include "tkvEventPump.h"
#include "tkvFramePage2.h"
#include "tkvModal.h"
#include "tkvNetAccess.h"
#include "tkvQtEventPump.h"
#include "tkvQtString.h"
#include "tkvQtTimerBackend.h"
#include "tkvShowHTMLToIE.h"
#include "tkvTextBrowserView.h"
#include "tkvWatchVersion.h"

namespace {

std::string Std(const QString& agText) { return tkvQtString::FromQt(agText); }

}  // namespace

// The main window driven as a person drives it: through its controls, its Do buttons and its
// menus, on real files, with the questions answered through tkvModal.
class KPXUIBaseTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestFolder> folder_;
    std::shared_ptr<KPXUISepaMng> sepaMng_;
    KPXUIBase* window_ = nullptr;

    template <typename T>
    T* Find(const char* agName) const {
        T* found = window_->findChild<T*>(QString::fromLatin1(agName));
        if (found == nullptr) {
            qFatal("no control %s", agName);
        }
        return found;
    }
    void Type(const char* agName, const QString& agText) {
        auto* box = Find<QLineEdit>(agName);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, agText);
    }
    void Click(const char* agName) { QTest::mouseClick(Find<QPushButton>(agName), Qt::LeftButton); }
    // Chooses a page by clicking its tab, as a user does before using its controls.
    void ClickTab(const char* agCaption) {
        QTest::mouseClick(Find<QLabel>(agCaption), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // The text a result view shows.
    QString Shown(const char* agView) const {
        return Find<tkvTextBrowserView>(agView)->toPlainText();
    }
    QString Source(qint64 agLength) const {
        const QString path = folder_->Path(QStringLiteral("source.bin"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        QByteArray bytes(agLength, '\0');
        for (qint64 i = 0; i < agLength; ++i) {
            bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        }
        file.write(bytes);
        return path;
    }
    // The split page filled for a split of agSource into agCount pieces in pieces/.
    void FillSplit(const QString& agSource, int agCount) {
        Type("txtSeparateFileAddress", agSource);
        Type("txtSeparateFileSepaAddress", folder_->Folder(QStringLiteral("pieces")));
        Type("txtSeparateFileDividoraName", QStringLiteral("part"));
        Find<QComboBox>("cmbSeparateFileMode")->setCurrentIndex(1);
        Type("txtSeparateFileModeCount", QString::number(agCount));
    }
    // Drags agData over agTarget and drops it there, as a file manager does; true when the
    // target took the drag.
    static bool DragOnto(QWidget* agTarget, const QMimeData& agData) {
        const QPointF at(5, 5);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &agData, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(agTarget, &enter);
        if (!enter.isAccepted()) {
            return false;
        }
        QDropEvent drop(at, Qt::CopyAction, &agData, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(agTarget, &drop);
        return drop.isAccepted();
    }
    QStringList Entries(const QString& agFolder) const {
        return QDir(agFolder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                                        QDir::Name);
    }
    // Runs agStep once the split page's status label starts to report pieces: while the
    // split runs, from inside its event pump.
    void WhenSplitting(std::function<void()> agStep) {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [this, poll, step = std::move(agStep)] {
            if (Find<QLabel>("lblSeparateFileActionStatus")
                    ->text()
                    .startsWith(QStringLiteral("分割元ﾌｧｲﾙを分割中"))) {
                poll->stop();
                poll->deleteLater();
                step();
            }
        });
        poll->start(0);
    }
    // Runs agStep once, at the first event pump that finds agLabel's text beginning with
    // agPrefix: inside the request, right after the status label was set. The hook puts the
    // window's pump back before its step; the pump keeps it alive until it returns.
    void AtStatus(const char* agLabel, const QString& agPrefix, std::function<void()> agStep) {
        auto* label = Find<QLabel>(agLabel);
        tkvEventPump::SetProcessEventsHook([label, agPrefix, step = std::move(agStep)] {
            if (label->text().startsWith(agPrefix)) {
                tkvQtEventPump::Install();  // once only
                step();
            }
            QCoreApplication::processEvents();
        });
    }

private slots:
    void initTestCase() {
        KPXUIResources::Initialize();
        tkvQtEventPump::Install();
    }

    void init() {
        folder_ = std::make_unique<TestFolder>();
        sepaMng_ = std::make_shared<KPXUISepaMng>(Std(folder_->Folder("app")),
                                                  Std(folder_->Folder("settings")));
        QVERIFY(KPXUIStartModule::Start(std::make_unique<KPXUIStartClass>(), sepaMng_));
        window_ = KPXUIStartModule::StartClassInstance()->MainWindow();
        QVERIFY(window_ != nullptr);
        tkvNetAccess::SetOpenHook([](const std::string&) { return true; });
    }

    void cleanup() {
        const int unanswered = tkvModal::PendingAnswerers();
        tkvModal::ClearAnswerers();
        tkvNetAccess::SetOpenHook({});
        tkvQtEventPump::Install();
        KPXUIStartModule::Finish();
        window_ = nullptr;
        sepaMng_.reset();
        folder_.reset();
        QCOMPARE(unanswered, 0);  // every window the test expected came
    }

    void aSplitAndARestoreThroughTheControlsGiveTheFileBack() {
        const QString source = Source(300000);
        FillSplit(source, 3);
        Click("cmSeparateFileActionDo");
        QCOMPARE(Entries(folder_->Path("pieces")),
                 (QStringList{"part.xxh128", "part1.KPX", "part2.KPX", "part3.KPX"}));
        QVERIFY(Shown("wbSeparateFileActionLog").contains(QStringLiteral("分割が完了しました。")));
        QVERIFY(Find<QPushButton>("cmSeparateFileActionDo")->isEnabled());
        QVERIFY(!window_->FramePageBase()->IsFixed());

        window_->ListPieces({Std(folder_->Path("pieces/part2.KPX")),
                             Std(folder_->Path("pieces/part1.KPX")),
                             Std(folder_->Path("pieces/part3.KPX"))});
        QCOMPARE(window_->FramePageBase()->Index(), 1);
        QCOMPARE(Find<QLabel>("lblRestoreDividoraSepaAddressCount")->text(),
                 QStringLiteral("3 個"));
        Type("txtRestoreDividoraAddress", folder_->Folder(QStringLiteral("restored")));
        Click("cmRestoreDividoraSepaActionDo");
        QFile original(source);
        QFile restored(folder_->Path("restored/source.bin"));
        QVERIFY(original.open(QIODevice::ReadOnly) && restored.open(QIODevice::ReadOnly));
        QCOMPARE(restored.readAll(), original.readAll());
        QVERIFY(Shown("wbRestoreDividoraSepaActionLog")
                    .contains(QStringLiteral("復元が完了しました。")));
        QVERIFY(Shown("wbRestoreDividoraSepaActionLog")
                    .contains(QStringLiteral("ﾁｪｯｸｻﾑﾌｧｲﾙと一致しました。")));
    }

    void aCancelDuringASplitLeavesNothingAndTheWindowIdle() {
        Find<QComboBox>("cmbUtilityActionTransmissionByteSize")->setCurrentIndex(0);  // 16 KB
        FillSplit(Source(64 * 1024 * 1024), 4);
        bool lockedMeanwhile = false;
        WhenSplitting([this, &lockedMeanwhile] {
            // While the split runs nothing else starts, and no page can be left.
            lockedMeanwhile = window_->RequestRunning() && window_->FramePageBase()->IsFixed() &&
                              !Find<QPushButton>("cmRestoreDividoraEstimateDo")->isEnabled();
            window_->RunRestoreEstimate();
            window_->FramePageBase()->SetIndex(2);
            Click("cmSeparateFileActionCancel");
        });
        Click("cmSeparateFileActionDo");
        QVERIFY(lockedMeanwhile);
        QCOMPARE(window_->FramePageBase()->Index(), 0);
        QVERIFY(Shown("wbRestoreDividoraEstimateResult")
                    .contains(QStringLiteral("実行結果が表示されます。")));
        QVERIFY(
            Shown("wbSeparateFileActionLog").contains(QStringLiteral("実行はｷｬﾝｾﾙされました。")));
        QCOMPARE(Entries(folder_->Path("pieces")), QStringList{});
        QVERIFY(!window_->RequestRunning());
        QVERIFY(Find<QPushButton>("cmRestoreDividoraEstimateDo")->isEnabled());
        QVERIFY(Find<QProgressBar>("barSeparateFileActionProgress")->isHidden());
    }

    void closingDuringASplitCancelsItAndWritesTheSettings() {
        Find<QComboBox>("cmbUtilityActionTransmissionByteSize")->setCurrentIndex(0);
        FillSplit(Source(64 * 1024 * 1024), 4);
        sepaMng_->SetUpperCountToWarn(77);
        WhenSplitting([this] { window_->close(); });
        Click("cmSeparateFileActionDo");
        QVERIFY(window_->UnloadFlag());
        QCOMPARE(Entries(folder_->Path("pieces")), QStringList{});
        KPXUtilSettings written(Std(folder_->Path("app")), Std(folder_->Path("settings")));
        QVERIFY(QFile::exists(folder_->Path("settings/KPXUtil.dat")));
        written.Load();
        QCOMPARE(written.UpperCountToWarn(), 77);
    }

    // The program ends while the request is still at its first status: the window's settings
    // manager is gone by the time the request reads its settings.
    void closingAtTheFirstStatusOfASplitWritesNothing() {
        FillSplit(Source(300000), 3);
        AtStatus("lblSeparateFileActionStatus", QStringLiteral("分割を開始"),
                 [this] { window_->close(); });
        Click("cmSeparateFileActionDo");
        QVERIFY(window_->UnloadFlag());
        QVERIFY(window_->Manager() == nullptr);
        QCOMPARE(Entries(folder_->Path("pieces")), QStringList{});
    }

    void closingAtTheFirstStatusOfARestoreEstimateEndsIt() {
        FillSplit(Source(300000), 3);
        Click("cmSeparateFileActionDo");
        const QStringList pieces = Entries(folder_->Path("pieces"));
        QCOMPARE(pieces.size(), 4);
        window_->ListPieces({Std(folder_->Path("pieces/part1.KPX")),
                             Std(folder_->Path("pieces/part2.KPX")),
                             Std(folder_->Path("pieces/part3.KPX"))});
        AtStatus("lblRestoreDividoraEstimateStatus", QStringLiteral("復元の実行予測を開始"),
                 [this] { window_->close(); });
        Click("cmRestoreDividoraEstimateDo");
        QVERIFY(window_->UnloadFlag());
        QVERIFY(window_->Manager() == nullptr);
        QCOMPARE(Entries(folder_->Path("pieces")), pieces);
    }

    void aFailedRestoreOffersTheEstimate_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("estimated");
        QTest::addColumn<bool>("dialogAfter");
        QTest::addColumn<int>("whenFailedAfter");
        QTest::newRow("yes") << "cmYes" << false << true << true << 0;
        QTest::newRow("yes, ask no more") << "cmYes" << true << true << false << 0;
        QTest::newRow("no, ask no more") << "cmNo" << true << false << false << 1;
        QTest::newRow("closed") << "" << true << false << true << 0;
    }

    void aFailedRestoreOffersTheEstimate() {
        QFETCH(QString, answer);
        QFETCH(bool, ticked);
        QFETCH(bool, estimated);
        QFETCH(bool, dialogAfter);
        QFETCH(int, whenFailedAfter);
        tkvModal::PushAnswerer([&](QDialog& agDialog) {
            agDialog.findChild<QCheckBox*>(QStringLiteral("chkNotExpressDialog"))
                ->setChecked(ticked);
            return answer.isEmpty() ? DialogAnswers::Cancel()(agDialog)
                                    : DialogAnswers::Click(answer)(agDialog);
        });
        window_->RunRestore();  // no pieces, no destination: it fails
        QCOMPARE(sepaMng_->DialogToEstimateRestoring(), dialogAfter);
        QCOMPARE(sepaMng_->WhenRestoringFailed(), whenFailedAfter);
        QCOMPARE(Find<QCheckBox>("chkUtilityEnvironmentDialogToEstimateRestoring")->isChecked(),
                 dialogAfter);
        QCOMPARE(Find<QComboBox>("cmbUtilityEnvironmentWhenRestoringFailed")->currentIndex(),
                 whenFailedAfter);
        QCOMPARE(Shown("wbRestoreDividoraEstimateResult")
                     .contains(QStringLiteral("復元元ｱﾄﾞﾚｽが指定されていません。")),
                 estimated);
        QCOMPARE(window_->FramePageRestoreDividora()->Index() == 1, estimated);
    }

    void withoutTheDialogTheSettingAloneDecides() {
        Find<QCheckBox>("chkUtilityEnvironmentDialogToEstimateRestoring")->setChecked(false);
        window_->RunRestore();
        QCOMPARE(window_->FramePageRestoreDividora()->Index(), 1);
        Find<QComboBox>("cmbUtilityEnvironmentWhenRestoringFailed")->setCurrentIndex(1);
        window_->FramePageRestoreDividora()->SetIndex(2);
        window_->RunRestore();
        QCOMPARE(window_->FramePageRestoreDividora()->Index(), 2);
    }

    void theSettingsPageWritesEveryChangeAtOnce() {
        Find<QCheckBox>("chkUtilityActionConfirmFileSize")->setChecked(false);
        Find<QCheckBox>("chkUtilityActionClearCreatedFileWhenUncompleted")->setChecked(false);
        Find<QComboBox>("cmbUtilityActionTransmissionByteSize")->setCurrentIndex(4);
        Find<QComboBox>("cmbSeparateFileHowToName")->setCurrentIndex(0);
        Find<QComboBox>("cmbSeparateFileModeFileSizeUnit")->setCurrentIndex(1);
        Find<QComboBox>("cmbUtilityVersionFrequency")->setCurrentIndex(2);
        QVERIFY(!sepaMng_->ConfirmFileSize());
        QVERIFY(!sepaMng_->ClearCreatedFileWhenUncompleted());
        QCOMPARE(sepaMng_->TransmissionByteSize(), 8388608);
        QCOMPARE(sepaMng_->HowToNameDividora(), 1);
        QCOMPARE(sepaMng_->SeparateFileModeFileSizeUnit(), 1024);
        QCOMPARE(sepaMng_->FrequencyOfCheckingVersion(), 3);
        Find<QComboBox>("cmbSeparateFileMode")->setCurrentIndex(1);
        QCOMPARE(sepaMng_->HowToSeparate(), 2);
        QVERIFY(Find<QLineEdit>("txtSeparateFileModeCount")->isEnabled());
        QVERIFY(!Find<QLineEdit>("txtSeparateFileModeFileSize")->isEnabled());
        QVERIFY(!Find<QComboBox>("cmbSeparateFileModeFileSizeUnit")->isEnabled());
    }

    void theUpperCountTakesNumbersAboveZeroHalvesToTheEvenNeighbour_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("250") << "250" << 250;
        QTest::newRow("2.5") << "2.5" << 2;
        QTest::newRow("3.5") << "3.5" << 4;
        QTest::newRow("abc") << "abc" << 100;
        QTest::newRow("0") << "0" << 100;
        QTest::newRow("-3") << "-3" << 100;
        QTest::newRow("0.4") << "0.4" << 100;
        QTest::newRow("1e12") << "1e12" << 100;
    }

    void theUpperCountTakesNumbersAboveZeroHalvesToTheEvenNeighbour() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        const bool refused = stored == 100;
        QString warning;
        if (refused) {
            tkvModal::PushAnswerer(DialogAnswers::Inspect(
                [&warning](QDialog& agBox) {
                    warning = agBox.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
                },
                DialogAnswers::Click(QStringLiteral("ok"))));
        }
        window_->show();
        QApplication::setActiveWindow(window_);
        QVERIFY(QTest::qWaitForWindowActive(window_));
        Type("txtUtilityEnvironmentUpperCount", typed);
        Find<QLineEdit>("txtSeparateFileAddress")->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(sepaMng_->UpperCountToWarn(), stored);
        if (refused) {
            QCOMPARE(warning, QStringLiteral(
                                  "「警告する分割数の上限」に設定できる値は、0より大きな数です。"));
            QCOMPARE(window_->FramePageBase()->Index(), 2);
            QCOMPARE(window_->FramePageUtility()->Index(), 1);
            QCOMPARE(Find<QLineEdit>("txtUtilityEnvironmentUpperCount")->text(),
                     QStringLiteral("100"));
        }
    }

    void pastedAndDroppedFileListsGoWhereTheirBoxesSay() {
        const QString file = folder_->File(QStringLiteral("movie.avi"));
        const QString folder = folder_->Folder(QStringLiteral("out"));
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(file), QUrl::fromLocalFile(folder),
                       QUrl::fromLocalFile(folder_->Path("missing"))});
        QGuiApplication::clipboard()->setMimeData(data);
        auto* list = Find<QListWidget>("lstRestoreDividoraSepaAddress");
        QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(list->count(), 1);  // folders and missing paths are skipped
        QCOMPARE(list->item(0)->text(), file);
        QTest::keyClick(Find<QLineEdit>("txtSeparateFileDividoraName"), Qt::Key_V,
                        Qt::ControlModifier);
        QCOMPARE(Find<QLineEdit>("txtSeparateFileDividoraName")->text(), QStringLiteral("movie"));

        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(file)});
        auto* box = Find<QLineEdit>("txtSeparateFileSepaAddress");
        QVERIFY(DragOnto(box, dropped));
        QCOMPARE(box->text(), folder_->Root());  // a file gives its folder
        QMimeData text;
        text.setText(QStringLiteral("just text"));
        QVERIFY(!DragOnto(box, text));
        QCOMPARE(box->text(), folder_->Root());  // text is refused
    }

    void theClearQuestionDecidesAndTheDetailWindowOpensOnTheSelection() {
        window_->ListPieces({Std(folder_->File(QStringLiteral("a.KPX")))});
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("cancel")));
        Click("cmRestoreDividoraSepaAddressClear");
        QCOMPARE(Find<QListWidget>("lstRestoreDividoraSepaAddress")->count(), 1);
        int shown = -2;
        Find<QListWidget>("lstRestoreDividoraSepaAddress")->setCurrentRow(0);
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&shown](QDialog& agDetail) {
                shown = agDetail.findChild<QListWidget*>(QStringLiteral("lstSepaAddress"))
                            ->currentRow();
            },
            DialogAnswers::Click(QStringLiteral("cmEnd"))));
        Click("cmRestoreDividoraSepaAddressDetail");
        QCOMPARE(shown, 0);
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("ok")));
        Click("cmRestoreDividoraSepaAddressClear");
        QCOMPARE(Find<QListWidget>("lstRestoreDividoraSepaAddress")->count(), 0);
        QCOMPARE(Find<QLabel>("lblRestoreDividoraSepaAddressCount")->text(),
                 QStringLiteral("0 個"));
    }

    void aManualCheckAlwaysAnswersAndTheDatesFollow() {
        LocalHttpServer server;
        VersionFile newer;
        newer.Major = DividoraVersion::kMajor + 1;
        server.ServeBody(newer.Bytes());
        sepaMng_->WatchingControl()->CheckingControl()->SetAddress(server.Url());
        ClickTab("lblWordControl_2");
        ClickTab("lblWordControlWordUtility_2");
        Click("cmUtilityVersionCheckNow");
        QVERIFY(KPXUIRenewable::OpenNotice() != nullptr);
        QVERIFY(Find<QLabel>("lblUtilityVersionLastCheckedDate")
                    ->text()
                    .startsWith(QStringLiteral("前回は")));
        KPXUIRenewable::OpenNotice()->close();

        VersionFile same;
        same.Major = DividoraVersion::kMajor;
        same.Minor = DividoraVersion::kMinor;
        same.Revision = DividoraVersion::kRevision;
        server.ServeBody(same.Bytes());
        Click("cmUtilityVersionCheckNow");
        QVERIFY(KPXUIChecked::OpenNotice() != nullptr);
        KPXUIChecked::OpenNotice()->close();

        server.AnswerNotFound();
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("ok")));
        Click("cmUtilityVersionCheckNow");
        QVERIFY(Find<QPushButton>("cmUtilityVersionCheckNow")->isEnabled());
    }

    // The timer, the fetch on a thread of its own, the answer back on the window's thread and
    // the notice, as a user with the automatic check on meets them.
    void aScheduledCheckFetchesOffTheWindowsThreadAndShowsTheNotice() {
        LocalHttpServer server;
        VersionFile newer;
        newer.Major = DividoraVersion::kMajor + 1;
        server.ServeBody(newer.Bytes());
        // The program's own timers, as its start installs them, for this test only.
        struct Timers {
            Timers() {
                tkvCallBackForTimerCtrl::SetTimerBackend(std::make_shared<tkvQtTimerBackend>());
            }
            ~Timers() { tkvCallBackForTimerCtrl::SetTimerBackend(nullptr); }
        } timers;
        const auto watch = sepaMng_->WatchingControl();
        watch->CheckingControl()->SetAddress(server.Url());
        watch->SetInterval(20);
        watch->SetNextTimeToCheck(0.0);  // due long ago
        QVERIFY(!sepaMng_->IsVersionChecked());
        sepaMng_->SetCheckVersion(true);
        QVERIFY(watch->Enabled());
        QTRY_VERIFY(KPXUIRenewable::OpenNotice() != nullptr);
        QVERIFY(sepaMng_->IsVersionChecked());
        QVERIFY(sepaMng_->NextTimeToCheckVersion() > sepaMng_->LastTimeVersionChecked());
        KPXUIRenewable::OpenNotice()->close();
        // Not due again for a cycle: further ticks fetch nothing.
        QTest::qWait(100);
        QVERIFY(!watch->Fetching());
        QVERIFY(KPXUIRenewable::OpenNotice() == nullptr);
        sepaMng_->SetCheckVersion(false);
    }

    void aRequestWithoutRoomForItsPageSaysSoAndLeavesTheWindowIdle() {
        FillSplit(Source(1000), 2);
        {
            const ScopedEnvironment noRoom("TMPDIR", Std(folder_->Path("no-such-folder")));
            Click("cmSeparateFileActionDo");
        }
        QCOMPARE(Find<QLabel>("lblSeparateFileActionStatus")->text(),
                 QStringLiteral("HTMLﾌｧｲﾙを正常に作成できませんでした。"));
        QVERIFY(!window_->RequestRunning());
        QVERIFY(!window_->FramePageBase()->IsFixed());
        QVERIFY(Find<QPushButton>("cmSeparateFileActionDo")->isEnabled());
    }

    // Ends the run (the settings are written) and starts it again from the settings file;
    // agPosition (twips), when given, is written into the file in between.
    void Restart(std::optional<QPoint> agPosition = {}) {
        window_->close();
        KPXUIStartModule::Finish();
        const auto manager = [this] {
            return std::make_shared<KPXUISepaMng>(Std(folder_->Folder("app")),
                                                  Std(folder_->Folder("settings")));
        };
        if (agPosition) {
            auto stored = manager();
            QVERIFY(stored->Load());
            stored->SetBasePositionX(agPosition->x());
            stored->SetBasePositionY(agPosition->y());
            QVERIFY(stored->Save());
        }
        sepaMng_ = manager();
        QVERIFY(KPXUIStartModule::Start(std::make_unique<KPXUIStartClass>(), sepaMng_));
        window_ = KPXUIStartModule::StartClassInstance()->MainWindow();
        Activate();
    }
    void Activate() {
        QApplication::setActiveWindow(window_);
        QVERIFY(QTest::qWaitForWindowActive(window_));
        QCoreApplication::processEvents();
    }

    void aStoredPositionComesBackAndTheWholeWindowStaysOnTheScreen_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("on the screen") << 1515 << 1230;
        QTest::newRow("above and left of it") << -500 << -500;
        QTest::newRow("beyond its right and bottom edges") << 1000000 << 1000000;
    }
    void aStoredPositionComesBackAndTheWholeWindowStaysOnTheScreen() {
        QFETCH(int, x);
        QFETCH(int, y);
        Restart(QPoint(x, y));
        const QRect area = window_->screen()->availableGeometry();
        const QRect frame = window_->frameGeometry();
        QVERIFY2(area.contains(frame), "the whole window, its frame included");
        if (x < 0) {
            QCOMPARE(frame.topLeft(), area.topLeft());
        } else if (x > 100000) {
            QCOMPARE(frame.bottomRight(), area.bottomRight());  // flush against both edges
        }
        // Start after start, the window stays where it was, and so does what is stored.
        Restart();
        const QPoint stored(sepaMng_->BasePositionX(), sepaMng_->BasePositionY());
        for (int start = 0; start < 3; ++start) {
            QCOMPARE(window_->frameGeometry(), frame);
            Restart();
            QCOMPARE(QPoint(sepaMng_->BasePositionX(), sepaMng_->BasePositionY()), stored);
        }
        if (x >= 0 && x <= 100000) {
            QCOMPARE(sepaMng_->BasePositionX(), x);
            QCOMPARE(sepaMng_->BasePositionY(), y);
        }
    }

    void theWindowHasAFixedSizeInWhichEveryPageFits() {
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        // With a large font a page needs more than the design size, and gets it.
        QFont large = QApplication::font();
        large.setPointSize(large.pointSize() * 2);
        QApplication::setFont(large);
        Restart();
        QApplication::setFont(QFont());
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        const std::vector<std::pair<int, int>> pages = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0},
                                                        {1, 1}, {1, 2}, {2, 0}, {2, 1}, {2, 2}};
        for (const auto& [base, sub] : pages) {
            window_->FramePageBase()->SetIndex(base);
            tkvFramePage2* set = base == 0   ? window_->FramePageSeparateFile()
                                 : base == 1 ? window_->FramePageRestoreDividora()
                                             : window_->FramePageUtility();
            set->SetIndex(sub);
            QCoreApplication::processEvents();
            QWidget* central = window_->centralWidget();
            QVERIFY2(central->size().height() >= central->minimumSizeHint().height() &&
                         central->size().width() >= central->minimumSizeHint().width(),
                     qPrintable(QStringLiteral("page %1/%2 is cut").arg(base).arg(sub)));
        }
    }

    void theRestoreListChangesItsChoiceOnlyWhenTheUserChooses() {
        window_->ListPieces({Std(folder_->File(QStringLiteral("a.KPX"))),
                             Std(folder_->File(QStringLiteral("b.KPX"))),
                             Std(folder_->File(QStringLiteral("c.KPX")))});
        auto* list = Find<QListWidget>("lstRestoreDividoraSepaAddress");
        auto* label = Find<QLabel>("lblRestoreDividoraSepaAddress");
        // The focus alone makes an entry current, not chosen: no label, no entry in the detail.
        list->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QCOMPARE(label->text(), QString());
        QStringList detail;
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&detail](QDialog& agDetail) {
                detail << QString::number(
                              agDetail.findChild<QListWidget*>(QStringLiteral("lstSepaAddress"))
                                  ->selectedItems()
                                  .size())
                       << agDetail.findChild<QLabel*>(QStringLiteral("lblSepaSpecID"))->text();
            },
            DialogAnswers::Click(QStringLiteral("cmEnd"))));
        Click("cmRestoreDividoraSepaAddressDetail");
        QCOMPARE(detail, (QStringList{"0", QStringLiteral("読み込みできませんでした。")}));

        // A click chooses; 削除 removes the chosen entry and chooses no other, so a second
        // 削除 removes nothing; the Delete key removes as 削除 does.
        const auto clickRow = [list](int agRow) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->item(agRow)).center());
        };
        clickRow(0);
        QVERIFY(label->toolTip().endsWith(QStringLiteral("a.KPX")));
        Click("cmRestoreDividoraSepaAddressRemove");
        Click("cmRestoreDividoraSepaAddressRemove");
        QCOMPARE(list->count(), 2);
        QVERIFY(label->toolTip().endsWith(QStringLiteral("a.KPX")));
        QCOMPARE(Find<QLabel>("lblRestoreDividoraSepaAddressCount")->text(),
                 QStringLiteral("2 個"));
        clickRow(1);
        QTest::keyClick(list, Qt::Key_Delete);
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(list->count(), 1);
        QVERIFY(list->item(0)->text().endsWith(QStringLiteral("b.KPX")));
    }

    void theKeyboardReachesEveryPageAndTheFocusFollowsThePage() {
        const auto current = [this] {
            return QPair<int, int>(window_->FramePageBase()->Index(),
                                   window_->FramePageSeparateFile()->Index());
        };
        Activate();
        auto* source = Find<QLineEdit>("txtSeparateFileAddress");
        source->setFocus();
        QTest::keySequence(window_, QKeySequence(Qt::CTRL | Qt::Key_Tab));
        QCOMPARE(current(), (QPair<int, int>(0, 1)));
        QTest::keySequence(window_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab));
        QTest::keySequence(window_, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab));
        QCOMPARE(current(), (QPair<int, int>(0, 3)));
        QTest::keySequence(window_, QKeySequence(Qt::CTRL | Qt::Key_PageDown));
        QCOMPARE(window_->FramePageBase()->Index(), 1);
        // The box that had the focus is hidden: the focus went into the page shown.
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused != nullptr && focused->isVisible());
        QVERIFY(Find<QWidget>("picRestoreDividora")->isAncestorOf(focused));
        QTest::keySequence(window_, QKeySequence(Qt::CTRL | Qt::Key_PageUp));
        QTest::keySequence(window_, QKeySequence(Qt::CTRL | Qt::Key_PageUp));
        QCOMPARE(window_->FramePageBase()->Index(), 2);

        // A tab caption takes the focus, Space chooses it, the arrows go to its neighbours.
        auto* restoreTab = Find<QLabel>("lblWordControl_1");
        QVERIFY(restoreTab->focusPolicy() & Qt::TabFocus);
        restoreTab->setFocus(Qt::TabFocusReason);
        QTest::keyClick(restoreTab, Qt::Key_Space);
        QCOMPARE(window_->FramePageBase()->Index(), 1);
        QTest::keyClick(restoreTab, Qt::Key_Right);
        QCOMPARE(window_->FramePageBase()->Index(), 2);
        QCOMPARE(QApplication::focusWidget(), Find<QWidget>("lblWordControl_2"));
        QCOMPARE(restoreTab->accessibleName(), QStringLiteral("復元"));
    }

    void theUpperCountIsCheckedOnlyWhenTheUserLeavesItInTheWindow() {
        Activate();
        window_->FramePageBase()->SetIndex(2);
        window_->FramePageUtility()->SetIndex(1);
        auto* box = Find<QLineEdit>("txtUtilityEnvironmentUpperCount");
        box->setText(QStringLiteral("0"));
        // A warning here would take this answer.
        tkvModal::PushAnswerer(DialogAnswers::Click(QStringLiteral("ok")));
        for (const Qt::FocusReason reason : {Qt::PopupFocusReason, Qt::ActiveWindowFocusReason}) {
            QFocusEvent leave(QEvent::FocusOut, reason);
            QApplication::sendEvent(box, &leave);
        }
        QCoreApplication::processEvents();
        QCOMPARE(tkvModal::PendingAnswerers(), 1);
        // A click on another page's tab leaves the box: the warning comes at once.
        box->setFocus();
        QTest::mouseClick(Find<QLabel>("lblWordControl_0"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(tkvModal::PendingAnswerers(), 0);
        QCOMPARE(window_->FramePageBase()->Index(), 2);
        QCOMPARE(box->text(), QStringLiteral("100"));
    }

    void onlyTheExactUninstallSwitchRemovesTheSettings() {
        QVERIFY(sepaMng_->Save());
        for (const char* other : {"/uninstall", "/Uninstall x"}) {
            QVERIFY(!KPXUIStartModule::HandleUninstallSwitch({std::string(other)}, sepaMng_.get()));
        }
        QVERIFY(QFile::exists(folder_->Path("settings/KPXUtil.dat")));
        QVERIFY(KPXUIStartModule::HandleUninstallSwitch({"/Uninstall"}, sepaMng_.get()));
        QVERIFY(!QFile::exists(folder_->Path("settings/KPXUtil.dat")));
    }

    void settingsThatCannotBeWrittenAtTheEndAreReportedWithTheReason() {
        QVERIFY(QDir().mkdir(folder_->Path("settings/KPXUtil.dat")));
        QString shown;
        tkvModal::PushAnswerer(DialogAnswers::Inspect(
            [&shown](QDialog& agBox) {
                if (const auto* box = qobject_cast<QMessageBox*>(&agBox)) {
                    shown = box->text();
                }
            },
            DialogAnswers::Click("ok")));
        std::ostringstream errors;
        std::streambuf* const standardError = std::cerr.rdbuf(errors.rdbuf());
        window_->close();
        std::cerr.rdbuf(standardError);

        const QString path = folder_->Path("settings/KPXUtil.dat");
        const QString reason = tkvQtString::ToQt(std::strerror(EISDIR));
        QCOMPARE(shown,
                 QStringLiteral("設定ファイルを保存できませんでした。\n") + path + "\n" + reason);
        QCOMPARE(tkvQtString::ToQt(errors.str()),
                 QCoreApplication::applicationName() +
                     QStringLiteral(": 設定ファイルを保存できませんでした。 ") + path + ": " +
                     reason + "\n");
        // Not written: the manager stays with the window.
        QCOMPARE(window_->Manager(), sepaMng_);
    }
};

QTEST_MAIN(KPXUIBaseTest)
#include "KPXUIBaseTest.moc"
