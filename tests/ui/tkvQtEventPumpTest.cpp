#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include "tkvCancelMng.h"
#include "tkvEventPump.h"
#include "tkvQtEventPump.h"

// Pending window events run at the core's polls, on the window's thread, without a nested
// event loop of the core's own.
class tkvQtEventPumpTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        tkvQtEventPump::Uninstall();
        QCoreApplication::processEvents();
    }

    void aQueuedEventRunsWhenTheCoreProcessesEvents() {
        tkvQtEventPump::Install();
        bool ran = false;
        QMetaObject::invokeMethod(
            this, [&ran] { ran = true; }, Qt::QueuedConnection);
        QVERIFY(!ran);

        tkvEventPump::ProcessEvents();
        QVERIFY(ran);
    }

    // A click on a cancel button while a split runs is seen at the engine's next poll.
    void aCancelClickedDuringARunIsSeenAtTheNextPoll() {
        tkvQtEventPump::Install();
        tkvCancelMng cancelMng;
        QTimer::singleShot(0, this, [&cancelMng] { cancelMng.Cancel(); });

        QVERIFY(cancelMng.IsCanceled());
    }

    void afterUninstallTheCoreRunsNoEvents() {
        tkvQtEventPump::Install();
        tkvQtEventPump::Uninstall();
        bool ran = false;
        QMetaObject::invokeMethod(
            this, [&ran] { ran = true; }, Qt::QueuedConnection);

        tkvEventPump::ProcessEvents();
        QVERIFY(!ran);
        QCoreApplication::processEvents();
        QVERIFY(ran);
    }
};

QTEST_MAIN(tkvQtEventPumpTest)
#include "tkvQtEventPumpTest.moc"
