#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "tkvCallBackForTimerCtrl.h"
#include "tkvQtTimerBackend.h"
#include "tkvTimerCtrl.h"

namespace {

// Counts the elapses of one timer; asks to keep running when told to.
class TickCounter : public tkvTimerCtrlEvents {
public:
    void Timer(bool& ouContinue) override {
        ++Ticks;
        if (Continue) {
            ouContinue = true;
        }
    }
    int Ticks = 0;
    bool Continue = false;
};

}  // namespace

// The version watch's timers on Qt's timers, elapsing on the event loop.
class tkvQtTimerBackendTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        backend_ = std::make_shared<tkvQtTimerBackend>();
        tkvCallBackForTimerCtrl::SetTimerBackend(backend_);
    }
    void cleanup() {
        for (const auto& timer : timers_) {
            timer->SetEnabled(false);
        }
        timers_.clear();
        counters_.clear();
        tkvCallBackForTimerCtrl::SetTimerBackend(nullptr);
        QCOMPARE(tkvCallBackForTimerCtrl::RegisteredCount(), 0);
        QCOMPARE(backend_->RunningCount(), 0);
        backend_.reset();
    }

    void aTimerElapsesOnceUnlessItsHandlerAsksToContinue() {
        TickCounter& counter = StartTimer(5, false);
        QTRY_COMPARE(counter.Ticks, 1);
        QVERIFY(!timers_.back()->Enabled());
        QCOMPARE(backend_->RunningCount(), 0);

        WaitForEventLoop(50);
        QCOMPARE(counter.Ticks, 1);
    }

    void aTimerThatContinuesKeepsElapsing() {
        TickCounter& counter = StartTimer(5, true);
        QTRY_VERIFY(counter.Ticks >= 3);
        QVERIFY(timers_.back()->Enabled());
        QCOMPARE(backend_->RunningCount(), 1);
    }

    // The check runs every ten minutes beside faster timers: their elapses never reach it.
    void eachElapseReachesOnlyItsOwnTimer() {
        TickCounter& fast = StartTimer(5, true);
        TickCounter& slow = StartTimer(3600000, true);
        TickCounter& other = StartTimer(7, true);

        QTRY_VERIFY(fast.Ticks >= 3 && other.Ticks >= 3);
        QCOMPARE(slow.Ticks, 0);
    }

    void killAllStopsEveryRunningTimer() {
        TickCounter& first = StartTimer(5, true);
        TickCounter& second = StartTimer(7, true);
        QTRY_VERIFY(first.Ticks >= 1 && second.Ticks >= 1);

        backend_->KillAll();
        QCOMPARE(backend_->RunningCount(), 0);
        const int firstTicks = first.Ticks;
        const int secondTicks = second.Ticks;
        WaitForEventLoop(50);
        QCOMPARE(first.Ticks, firstTicks);
        QCOMPARE(second.Ticks, secondTicks);
    }

    void onlyStartedTimersCanBeKilled() {
        const int32_t timerID = backend_->StartTimer(1000);
        QVERIFY(timerID != 0);
        QCOMPARE(backend_->StartTimer(0), 0);
        QVERIFY(backend_->KillTimer(timerID));
        QVERIFY(!backend_->KillTimer(timerID));
    }

private:
    TickCounter& StartTimer(int32_t agInterval, bool agContinue) {
        counters_.push_back(std::make_unique<TickCounter>());
        counters_.back()->Continue = agContinue;
        auto timer = std::make_shared<tkvTimerCtrl>();
        timer->SetInterval(agInterval);
        timer->AddEvents(counters_.back().get());
        timer->SetEnabled(true);
        if (!timer->Enabled()) {
            QTest::qFail("the timer did not start", __FILE__, __LINE__);
        }
        timers_.push_back(timer);
        return *counters_.back();
    }

    // Lets the event loop run until a Qt timer of agMilliseconds has elapsed: time enough for
    // a timer that should be stopped to show that it is not.
    void WaitForEventLoop(int agMilliseconds) {
        bool elapsed = false;
        QTimer::singleShot(agMilliseconds, this, [&elapsed] { elapsed = true; });
        QTRY_VERIFY(elapsed);
    }

    std::shared_ptr<tkvQtTimerBackend> backend_;
    std::vector<std::shared_ptr<tkvTimerCtrl>> timers_;
    std::vector<std::unique_ptr<TickCounter>> counters_;
};

QTEST_MAIN(tkvQtTimerBackendTest)
#include "tkvQtTimerBackendTest.moc"
