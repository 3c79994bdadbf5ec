#include <QCoreApplication>
#include <QTest>
#include <atomic>
#include <memory>
#include <thread>

#include "tkvQtBackgroundWork.h"

// Work runs off the window's thread; its completion comes back on the window's thread through
// the event loop, and not at all once the runner is gone.
class tkvQtBackgroundWorkTest : public QObject {
    Q_OBJECT

private slots:
    void theWorkRunsElsewhereAndTheCompletionHere() {
        tkvQtBackgroundWork work;
        const auto here = std::this_thread::get_id();
        std::atomic<bool> workedElsewhere{false};
        bool doneHere = false;
        work.Run([&] { workedElsewhere = std::this_thread::get_id() != here; },
                 [&] { doneHere = std::this_thread::get_id() == here; });
        QTRY_VERIFY(doneHere);
        QVERIFY(workedElsewhere);
    }

    void aCompletionAfterTheRunnerWentIsDropped() {
        auto work = std::make_unique<tkvQtBackgroundWork>();
        std::atomic<bool> release{false};
        std::atomic<bool> worked{false};
        bool done = false;
        work->Run(
            [&] {
                while (!release) {
                    std::this_thread::yield();
                }
                worked = true;
            },
            [&] { done = true; });
        work.reset();
        release = true;
        QTRY_VERIFY(worked);
        QTest::qWait(50);  // time for a completion that must not come
        QVERIFY(!done);
    }
};

QTEST_GUILESS_MAIN(tkvQtBackgroundWorkTest)
#include "tkvQtBackgroundWorkTest.moc"
