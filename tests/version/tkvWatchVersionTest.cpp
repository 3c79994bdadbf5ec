#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "LocalHttpServer.h"
#include "ManualTimerBackend.h"
#include "QueuedBackgroundWork.h"
#include "VersionFiles.h"
#include "tkvCallBackForTimerCtrl.h"
#include "tkvCheckVersion.h"
#include "tkvDateTime.h"
#include "tkvTimeCycle.h"
#include "tkvTimerCtrl.h"
#include "tkvWatchVersion.h"

namespace {

class WatchLog : public tkvWatchVersionEvents {
public:
    void VersionChecked() override { ++Checked; }
    void TimerChecked(bool agResult) override { Ticks.push_back(agResult); }
    void BecomeEffective() override { ++Effective; }
    void BecomeInvalid() override { ++Invalid; }

    int Checked = 0;
    std::vector<bool> Ticks;
    int Effective = 0;
    int Invalid = 0;
};

double DaysAfter(double agDate, int32_t agDays) {
    double date = 0;
    EXPECT_TRUE(tkvDateTime::AddSeconds(agDate, int64_t{agDays} * 86400, date));
    return date;
}

class tkvWatchVersionTest : public ::testing::Test {
protected:
    void SetUp() override {
        tkvCallBackForTimerCtrl::SetTimerBackend(backend_);
        server_.ServeBody(VersionFile().Bytes());
        check_->SetAddress(server_.Url());
        check_->SetClientProductName("Tarno.K.V. Dividora");
        check_->SetConnectTimeout(500);
        check_->SetRequestTimeout(500);
        cycle_->SetCycleMode(tkvTimeCycle::kAddAmounts);
        cycle_->SetDayToAdd(7);
        watch_->SetFrequency(cycle_);
        watch_->SetCheckingControl(check_);
        watch_->SetClock([this] { return now_; });
        watch_->AddEvents(&log_);
    }
    void TearDown() override {
        watch_.reset();
        EXPECT_EQ(tkvCallBackForTimerCtrl::RegisteredCount(), 0);
        EXPECT_EQ(backend_->RunningCount(), 0);
        tkvCallBackForTimerCtrl::SetTimerBackend(nullptr);
    }
    int32_t RunningTimerID() const {
        return tkvCallBackForTimerCtrl::RegisteredCount() == 1
                   ? tkvCallBackForTimerCtrl::RegisteredTimer(0)->TimerID()
                   : 0;
    }

    std::shared_ptr<ManualTimerBackend> backend_ = std::make_shared<ManualTimerBackend>();
    LocalHttpServer server_;
    std::shared_ptr<tkvCheckVersion> check_ = std::make_shared<tkvCheckVersion>();
    std::shared_ptr<tkvTimeCycle> cycle_ = std::make_shared<tkvTimeCycle>();
    std::shared_ptr<tkvWatchVersion> watch_ = std::make_shared<tkvWatchVersion>();
    double now_ = DateOf(2024, 1, 31, 10);
    WatchLog log_;
};

TEST_F(tkvWatchVersionTest, ACompletedCheckIsDueAgainADayAWeekOrAMonthLater) {
    const struct {
        int32_t Days;
        int32_t Months;
        double Next;
    } cases[] = {{1, 0, DateOf(2024, 2, 1, 10)},
                 {7, 0, DateOf(2024, 2, 7, 10)},
                 {0, 1, DateOf(2024, 2, 29, 10)}};
    for (const auto& each : cases) {
        cycle_->SetDayToAdd(each.Days);
        cycle_->SetMonthToAdd(each.Months);
        watch_->SetNextTimeToCheck(tkvDateTime::kZeroDate);
        ASSERT_TRUE(watch_->Check(false));
        EXPECT_EQ(watch_->NextTimeToCheck(), each.Next);
        EXPECT_EQ(cycle_->BaseTime(), now_) << "the time of the check";
    }
    EXPECT_EQ(log_.Checked, 3);
    EXPECT_EQ(server_.RequestCount(), 3);
}

TEST_F(tkvWatchVersionTest, NothingDueAnswersTrueWithoutAsking) {
    const double due = DaysAfter(now_, 3);
    watch_->SetNextTimeToCheck(due);
    EXPECT_TRUE(watch_->Check(false));
    EXPECT_EQ(watch_->NextTimeToCheck(), due);
    EXPECT_EQ(server_.RequestCount(), 0);
    EXPECT_EQ(log_.Checked, 0);

    now_ = due;
    EXPECT_TRUE(watch_->Check(false));
    EXPECT_EQ(server_.RequestCount(), 0) << "due only once the time is later";
}

TEST_F(tkvWatchVersionTest, CheckTrueRunsNowAndMovesTheDueTimeOneCyclePastNow) {
    watch_->SetNextTimeToCheck(DaysAfter(now_, 3));
    EXPECT_TRUE(watch_->Check(true));
    EXPECT_EQ(server_.RequestCount(), 1);
    EXPECT_EQ(log_.Checked, 1);
    EXPECT_EQ(watch_->NextTimeToCheck(), DaysAfter(now_, 7));
}

TEST_F(tkvWatchVersionTest, ADueTimeMoreThanOneCycleAheadIsLowered) {
    watch_->SetNextTimeToCheck(DaysAfter(now_, 10));
    EXPECT_TRUE(watch_->Check(false));
    EXPECT_EQ(watch_->NextTimeToCheck(), DaysAfter(now_, 7));
    EXPECT_EQ(server_.RequestCount(), 0);
}

TEST_F(tkvWatchVersionTest, AFailedCheckIsRetriedAtTheNextTick) {
    server_.AnswerNotFound();
    watch_->SetEnabled(true);  // ticks at once
    ASSERT_TRUE(watch_->Enabled());
    const int32_t id = RunningTimerID();
    EXPECT_EQ(backend_->IntervalOf(id), 600000);
    EXPECT_EQ(log_.Ticks, (std::vector<bool>{false}));
    EXPECT_EQ(watch_->NextTimeToCheck(), tkvDateTime::kZeroDate) << "still due";

    server_.ServeBody(VersionFile().Bytes());
    now_ = DateOf(2024, 1, 31, 10, 10);
    ASSERT_TRUE(backend_->Fire(id));
    EXPECT_EQ(log_.Ticks, (std::vector<bool>{false, true}));
    EXPECT_EQ(log_.Checked, 1);
    EXPECT_EQ(watch_->NextTimeToCheck(), DaysAfter(now_, 7));

    ASSERT_TRUE(backend_->Fire(id));
    EXPECT_EQ(log_.Ticks, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(server_.RequestCount(), 2) << "the third tick found nothing due";

    watch_->SetEnabled(false);
    EXPECT_FALSE(watch_->Enabled());
    EXPECT_EQ(log_.Effective, 1);
    EXPECT_EQ(log_.Invalid, 1);
}

TEST_F(tkvWatchVersionTest, NoCheckWithoutACheckingControlOrAWorkingCycle) {
    watch_->SetCheckingControl(nullptr);
    EXPECT_FALSE(watch_->Check(true));
    watch_->SetCheckingControl(check_);
    cycle_->SetCycleMode(3);
    EXPECT_FALSE(watch_->Check(true));
    EXPECT_EQ(server_.RequestCount(), 0);
    EXPECT_EQ(log_.Checked, 0);
}

TEST_F(tkvWatchVersionTest, EnabledFollowsItsTimerAlsoAcrossANewInterval) {
    watch_->SetNextTimeToCheck(DaysAfter(now_, 1));
    watch_->SetEnabled(true);
    const int32_t first = RunningTimerID();
    watch_->SetInterval(0);
    EXPECT_EQ(watch_->Interval(), 600000);
    watch_->SetInterval(1000);
    EXPECT_TRUE(watch_->Enabled()) << "the restarted timer keeps the watch on";
    EXPECT_NE(RunningTimerID(), first);
    EXPECT_EQ(backend_->IntervalOf(RunningTimerID()), 1000);
    ASSERT_TRUE(backend_->Fire(RunningTimerID()));
    EXPECT_EQ(log_.Ticks, (std::vector<bool>{true, true}));
    EXPECT_EQ(log_.Effective, 2);
    EXPECT_EQ(log_.Invalid, 1);
    watch_.reset();  // switches itself off
    EXPECT_EQ(log_.Invalid, 2);
}

TEST_F(tkvWatchVersionTest, AWatchWhoseTimerCannotStartStaysOff) {
    backend_->SetRefuseStart(true);
    watch_->SetEnabled(true);
    EXPECT_FALSE(watch_->Enabled());
    EXPECT_TRUE(log_.Ticks.empty());
    EXPECT_EQ(server_.RequestCount(), 0);
}

class tkvWatchVersionBackgroundTest : public tkvWatchVersionTest {
protected:
    void SetUp() override {
        tkvWatchVersionTest::SetUp();
        watch_->SetBackground(work_);
    }
    void Tick() { ASSERT_TRUE(backend_->Fire(RunningTimerID())); }

    std::shared_ptr<QueuedBackgroundWork> work_ = std::make_shared<QueuedBackgroundWork>();
};

TEST_F(tkvWatchVersionBackgroundTest, ATickFetchesOffTheThreadAndHandlesTheFileOnIt) {
    watch_->SetEnabled(true);  // the first tick finds the check due
    EXPECT_TRUE(watch_->Fetching());
    EXPECT_EQ(log_.Checked, 0) << "nothing is handled before the file is handed back";
    Tick();
    EXPECT_EQ(work_->Done.size(), 1u) << "one fetch at a time";
    work_->DeliverAll();
    EXPECT_FALSE(watch_->Fetching());
    EXPECT_EQ(log_.Checked, 1);
    EXPECT_EQ(watch_->NextTimeToCheck(), DateOf(2024, 2, 7, 10));
    Tick();
    EXPECT_TRUE(work_->Done.empty()) << "not due again for a week";
}

TEST_F(tkvWatchVersionBackgroundTest, AFailedFetchKeepsTheCheckDue) {
    check_->SetAddress("http://127.0.0.1:1/version/Dividora/version.txt");
    watch_->SetEnabled(true);
    work_->DeliverAll();
    EXPECT_EQ(log_.Checked, 0);
    EXPECT_EQ(log_.Ticks.back(), false);
    Tick();
    EXPECT_EQ(work_->Done.size(), 1u) << "tried again at the next tick";
    work_->DeliverAll();
}

TEST_F(tkvWatchVersionBackgroundTest, AHeldWatchWaitsUntilTheRequestEnds) {
    watch_->SetHeld(true);
    watch_->SetEnabled(true);
    EXPECT_FALSE(watch_->Fetching()) << "a due check waits while a request runs";
    watch_->SetHeld(false);
    EXPECT_TRUE(watch_->Fetching());
    // A fetch that arrives while the next request runs is handled after it.
    watch_->SetHeld(true);
    work_->DeliverAll();
    EXPECT_EQ(log_.Checked, 0);
    watch_->SetHeld(false);
    EXPECT_EQ(log_.Checked, 1);
}

TEST_F(tkvWatchVersionBackgroundTest, AFetchThatArrivesAfterTheWatchWentIsDropped) {
    watch_->SetEnabled(true);
    watch_.reset();
    work_->DeliverAll();
    EXPECT_EQ(log_.Checked, 0);
}

TEST_F(tkvWatchVersionBackgroundTest, ACheckAskedForSupersedesATicksFetchOnItsWay) {
    watch_->SetEnabled(true);
    ASSERT_TRUE(watch_->Fetching());
    now_ = DateOf(2024, 1, 31, 11);
    ASSERT_TRUE(watch_->Check(true));
    EXPECT_FALSE(watch_->Fetching());
    work_->DeliverAll();  // the tick's fetch, begun an hour before, arrives only now
    EXPECT_EQ(log_.Checked, 1);
    EXPECT_EQ(cycle_->BaseTime(), DateOf(2024, 1, 31, 11)) << "the time of the last check";
    EXPECT_EQ(watch_->NextTimeToCheck(), DateOf(2024, 2, 7, 11));
}

TEST_F(tkvWatchVersionBackgroundTest, AFetchThatArrivesAfterTheWatchIsSwitchedOffIsDropped) {
    watch_->SetEnabled(true);
    watch_->SetEnabled(false);
    EXPECT_FALSE(watch_->Fetching());
    const size_t ticks = log_.Ticks.size();
    work_->DeliverAll();
    EXPECT_EQ(log_.Checked, 0);
    EXPECT_EQ(log_.Ticks.size(), ticks) << "no word from a watch that is off";
    EXPECT_EQ(watch_->NextTimeToCheck(), tkvDateTime::kZeroDate);
}

TEST_F(tkvWatchVersionBackgroundTest, SwitchedOnAgainTheWatchFetchesAnewAndReportsOnce) {
    watch_->SetEnabled(true);
    watch_->SetEnabled(false);
    watch_->SetEnabled(true);
    EXPECT_EQ(work_->Done.size(), 2u) << "the dropped fetch does not hold up the new one";
    work_->DeliverAll();
    EXPECT_EQ(log_.Checked, 1);
    EXPECT_FALSE(watch_->Fetching());
}

TEST_F(tkvWatchVersionTest, WithoutBackgroundAHeldWatchAlsoWaits) {
    watch_->SetHeld(true);
    watch_->SetEnabled(true);
    EXPECT_EQ(log_.Checked, 0);
    watch_->SetHeld(false);
    EXPECT_EQ(log_.Checked, 1);
}

}  // namespace
