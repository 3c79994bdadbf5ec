#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "KPXUIApplication.h"
#include "KPXUIBase.h"
#include "KPXUIResources.h"
#include "KPXUISepaMng.h"
#include "KPXUIStartClass.h"
#include "KPXUIStartModule.h"
#include "TestFolder.h"
#include "tkvQtEventPump.h"

namespace {

// A window manager that gives new windows no focus: the main window is never activated.
class NoActivation : public QObject {
protected:
    bool eventFilter(QObject* agWatched, QEvent* agEvent) override {
        return agEvent->type() == QEvent::WindowActivate && qobject_cast<KPXUIBase*>(agWatched);
    }
};

}  // namespace

// The program's start under an English locale (the test's environment): the application as
// the program prepares it, and the splash until the main window is there.
class ProgramStartTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QLocale::system().language(), QLocale::English);
        KPXUIApplication::Prepare();
        KPXUIResources::Initialize();
        tkvQtEventPump::Install();
    }
    void cleanup() { KPXUIStartModule::Finish(); }

    // Qt adds a display name to every caption that does not end with it: there is none, so
    // the display name, which titles the message boxes, follows the name.
    void theCaptionsGetNothingAdded() {
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Dividora"));
        QCoreApplication::setApplicationName(QStringLiteral("other"));
        const QString followed = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(QStringLiteral("Dividora"));
        QCOMPARE(followed, QStringLiteral("other"));
    }

    void qtsOwnTextsAreJapanese() {
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        QLineEdit box;
        const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
        const auto shown = [](const QString& agText) { return agText.section(u'\t', 0, 0); };
        QCOMPARE(QStringList({dialog.windowTitle(),
                              dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                              dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))
                                  ->button(QDialogButtonBox::Cancel)
                                  ->text(),
                              shown(menu->actions().constFirst()->text()),
                              shown(menu->actions().constLast()->text())}),
                 QStringList({"開く", "アドレス:", "キャンセル", "元に戻す(&U)", "すべてを選択"}));
    }

    // Without activation the splash goes a few seconds after the main window came.
    void theSplashGoesWhenTheMainWindowIsActivatedOrAtTheLatestAfterAFewSeconds_data() {
        QTest::addColumn<bool>("activated");
        QTest::addColumn<int>("earliest");  // ms after the start
        QTest::addColumn<int>("latest");
        QTest::newRow("activated") << true << 0 << 1000;
        QTest::newRow("never activated") << false << 2000 << 6000;
    }
    void theSplashGoesWhenTheMainWindowIsActivatedOrAtTheLatestAfterAFewSeconds() {
        QFETCH(bool, activated);
        QFETCH(int, earliest);
        QFETCH(int, latest);
        NoActivation withheld;
        if (!activated) {
            qApp->installEventFilter(&withheld);
        }
        const TestFolder folder;
        QElapsedTimer started;
        started.start();
        KPXUIStartModule::Start(std::make_unique<KPXUIStartClass>(),
                                std::make_shared<KPXUISepaMng>(
                                    folder.Folder(QStringLiteral("app")).toStdString(),
                                    folder.Folder(QStringLiteral("settings")).toStdString()));
        const KPXUIStartClass& start = *KPXUIStartModule::StartClassInstance();
        QVERIFY(QTest::qWaitForWindowExposed(start.MainWindow()));
        QTRY_VERIFY_WITH_TIMEOUT(!start.StartFormVisible(), 10000);
        QVERIFY2(started.elapsed() >= earliest && started.elapsed() <= latest,
                 qPrintable(QString::number(started.elapsed())));
    }
};

QTEST_MAIN(ProgramStartTest)
#include "ProgramStartTest.moc"
