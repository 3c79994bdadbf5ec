#include <QCoreApplication>
#include <QTest>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "LocalHttpServer.h"
#include "tkvCheckVersion.h"
#include "tkvQtBackgroundWork.h"

// Work runs off the window's thread; its completion comes back on the window's thread through
// the event loop, and not at all once the runner is gone. The runner does not go before its
// work: it asks the work to stop and waits for it.
class tkvQtBackgroundWorkTest : public QObject {
    Q_OBJECT

private slots:
    void theWorkRunsElsewhereAndTheCompletionHere() {
        tkvQtBackgroundWork work;
        const auto here = std::this_thread::get_id();
        std::atomic<bool> workedElsewhere{false};
        bool doneHere = false;
        work.Run(
            [&](const std::atomic<bool>&) { workedElsewhere = std::this_thread::get_id() != here; },
            [&] { doneHere = std::this_thread::get_id() == here; });
        QTRY_VERIFY(doneHere);
        QVERIFY(workedElsewhere);
    }

    void goingAwayTheRunnerStopsItsWorkWaitsForItAndDropsTheCompletion() {
        auto work = std::make_unique<tkvQtBackgroundWork>();
        std::atomic<bool> started{false};
        std::atomic<bool> stopped{false};
        bool done = false;
        work->Run(
            [&](const std::atomic<bool>& agAbort) {
                started = true;
                while (!agAbort) {
                    std::this_thread::yield();
                }
                stopped = true;
            },
            [&] { done = true; });
        QTRY_VERIFY(started);
        work.reset();
        QVERIFY(stopped);  // over before the runner was gone
        QCoreApplication::processEvents();
        QVERIFY(!done);
    }

    void aFetchFromAServerThatNeverAnswersEndsWhenTheRunnerGoes() {
        LocalHttpServer server;
        server.NeverAnswer();
        auto work = std::make_unique<tkvQtBackgroundWork>();
        std::atomic<bool> over{false};
        std::atomic<bool> fetched{true};
        constexpr int32_t kAnHour = 3600000;  // beyond the test's own time limit
        work->Run(
            [&](const std::atomic<bool>& agAbort) {
                std::string bytes;
                fetched = tkvCheckVersion::FetchVersionFile(server.Url(), kAnHour, kAnHour, bytes,
                                                            &agAbort);
                over = true;
            },
            [] {});
        QTRY_COMPARE(server.RequestCount(), 1);  // the request waits for its answer
        work.reset();
        QVERIFY(over);
        QVERIFY(!fetched);
    }
};

QTEST_GUILESS_MAIN(tkvQtBackgroundWorkTest)
#include "tkvQtBackgroundWorkTest.moc"
