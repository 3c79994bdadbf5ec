#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ManualTimerBackend.h"
#include "tkvCallBackForTimerCtrl.h"
#include "tkvHyperArrayOperationForTimerCtrl.h"
#include "tkvTimerCtrl.h"

namespace {

// Writes down the events it receives; asks to continue when told to.
class TimerLog : public tkvTimerCtrlEvents {
public:
    void Timer(bool& ouContinue) override {
        Events.push_back("Timer");
        if (Continue) {
            ouContinue = true;
        }
    }
    void BecomeEffective() override { Events.push_back("BecomeEffective"); }
    void BecomeInvalid() override { Events.push_back("BecomeInvalid"); }

    bool Continue = false;
    std::vector<std::string> Events;
};

class tkvTimerCtrlTest : public ::testing::Test {
protected:
    void SetUp() override { tkvCallBackForTimerCtrl::SetTimerBackend(backend_); }
    void TearDown() override {
        EXPECT_EQ(tkvCallBackForTimerCtrl::RegisteredCount(), 0) << "a test left a timer running";
        tkvCallBackForTimerCtrl::SetTimerBackend(nullptr);
    }

    std::shared_ptr<tkvTimerCtrl> NewTimer(int32_t agInterval, TimerLog* agLog = nullptr) {
        auto timer = std::make_shared<tkvTimerCtrl>();
        timer->SetInterval(agInterval);
        timer->AddEvents(agLog);
        return timer;
    }

    std::shared_ptr<ManualTimerBackend> backend_ = std::make_shared<ManualTimerBackend>();
};

using Events = std::vector<std::string>;

TEST_F(tkvTimerCtrlTest, IntervalBelowOneIsIgnored) {
    auto timer = NewTimer(100);
    timer->SetInterval(0);
    timer->SetInterval(-5);
    EXPECT_EQ(timer->Interval(), 100);
}

TEST_F(tkvTimerCtrlTest, StartAndStopGoThroughTheBackendAndTheRegistry) {
    TimerLog log;
    auto timer = NewTimer(250, &log);
    timer->SetEnabled(true);
    ASSERT_TRUE(timer->Enabled());
    EXPECT_NE(timer->TimerID(), 0);
    EXPECT_EQ(backend_->IntervalOf(timer->TimerID()), 250);
    ASSERT_EQ(tkvCallBackForTimerCtrl::RegisteredCount(), 1);
    EXPECT_EQ(tkvCallBackForTimerCtrl::RegisteredTimer(0), timer);

    timer->SetEnabled(true);  // the current value does nothing
    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->TimerID(), 0);
    EXPECT_EQ(backend_->RunningCount(), 0);
    EXPECT_EQ(log.Events, (Events{"BecomeEffective", "BecomeInvalid"}));
}

TEST_F(tkvTimerCtrlTest, AHandlerThatDoesNotContinueFiresOnce) {
    TimerLog log;
    auto timer = NewTimer(10, &log);
    timer->SetEnabled(true);
    const int32_t id = timer->TimerID();
    ASSERT_TRUE(backend_->Fire(id));
    EXPECT_FALSE(timer->Enabled());
    EXPECT_FALSE(backend_->Fire(id)) << "the platform timer is gone";
    EXPECT_EQ(log.Events, (Events{"BecomeEffective", "Timer", "BecomeInvalid"}));
}

TEST_F(tkvTimerCtrlTest, EachElapseReachesOnlyTheTimerWithItsIdentifier) {
    TimerLog fast;
    TimerLog slow;
    fast.Continue = slow.Continue = true;
    auto first = NewTimer(100, &fast);
    auto second = NewTimer(5000, &slow);
    first->SetEnabled(true);
    second->SetEnabled(true);
    backend_->Fire(second->TimerID());
    backend_->Fire(second->TimerID());
    backend_->Fire(first->TimerID());
    tkvCallBackForTimerCtrl::TimerProc(first->TimerID() + second->TimerID() + 100);  // unknown
    EXPECT_EQ(fast.Events, (Events{"BecomeEffective", "Timer"}));
    EXPECT_EQ(slow.Events, (Events{"BecomeEffective", "Timer", "Timer"}));
    EXPECT_TRUE(second->Enabled()) << "its handler asked to continue";
    first->SetEnabled(false);
    second->SetEnabled(false);
}

TEST_F(tkvTimerCtrlTest, ANewIntervalRestartsARunningTimerUnderANewIdentifier) {
    TimerLog log;
    auto timer = NewTimer(100, &log);
    timer->SetEnabled(true);
    const int32_t oldID = timer->TimerID();
    log.Events.clear();
    timer->SetInterval(200);
    EXPECT_EQ(log.Events, (Events{"BecomeInvalid", "BecomeEffective"}));
    EXPECT_TRUE(timer->Enabled());
    EXPECT_NE(timer->TimerID(), oldID);
    EXPECT_EQ(backend_->IntervalOf(timer->TimerID()), 200);
    EXPECT_EQ(backend_->RunningCount(), 1);
    timer->SetEnabled(false);
}

TEST_F(tkvTimerCtrlTest, TheRegistryKeepsARunningTimerAlive) {
    TimerLog log;
    std::weak_ptr<tkvTimerCtrl> watched;
    int32_t id = 0;
    {
        auto timer = NewTimer(10, &log);
        timer->SetEnabled(true);
        id = timer->TimerID();
        watched = timer;
    }
    ASSERT_FALSE(watched.expired());
    backend_->Fire(id);  // the handler does not continue: the timer stops and is let go
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(log.Events, (Events{"BecomeEffective", "Timer", "BecomeInvalid"}));
}

TEST_F(tkvTimerCtrlTest, ATimerThatCannotStartStaysOffAndUnregistered) {
    TimerLog log;
    auto never = NewTimer(0, &log);
    never->SetEnabled(true);
    EXPECT_FALSE(never->Enabled()) << "no interval yet";

    auto refused = NewTimer(10, &log);
    backend_->SetRefuseStart(true);
    refused->SetEnabled(true);
    EXPECT_FALSE(refused->Enabled());
    EXPECT_EQ(refused->TimerID(), 0);

    tkvCallBackForTimerCtrl::SetTimerBackend(nullptr);
    backend_->SetRefuseStart(false);
    refused->SetEnabled(true);
    EXPECT_FALSE(refused->Enabled()) << "no backend";
    EXPECT_TRUE(log.Events.empty());
    EXPECT_EQ(tkvCallBackForTimerCtrl::RegisteredCount(), 0);
}

TEST_F(tkvTimerCtrlTest, ATimerThePlatformCannotKillIsStillOff) {
    TimerLog log;
    auto timer = NewTimer(10, &log);
    timer->SetEnabled(true);
    const int32_t id = timer->TimerID();
    backend_->SetRefuseKill(true);
    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_EQ(timer->TimerID(), 0);
    backend_->Fire(id);  // a late elapse finds no registered timer
    EXPECT_EQ(log.Events, (Events{"BecomeEffective", "BecomeInvalid"}));
    timer->SetEnabled(true);
    EXPECT_TRUE(timer->Enabled()) << "it can be started again";
    backend_->SetRefuseKill(false);
    timer->SetEnabled(false);
}

TEST_F(tkvTimerCtrlTest, RemovingTheMiddleOfThreeKeepsTheOrderOfTheOthers) {
    auto a = NewTimer(1);
    auto b = NewTimer(2);
    auto c = NewTimer(3);
    for (const auto& timer : {a, b, c}) {
        ASSERT_TRUE(tkvCallBackForTimerCtrl::RegisterTimer(timer));
    }
    ASSERT_TRUE(tkvCallBackForTimerCtrl::UnregisterTimer(b.get()));
    ASSERT_EQ(tkvCallBackForTimerCtrl::RegisteredCount(), 2);
    EXPECT_EQ(tkvCallBackForTimerCtrl::RegisteredTimer(0), a);
    EXPECT_EQ(tkvCallBackForTimerCtrl::RegisteredTimer(1), c);
    EXPECT_EQ(b.use_count(), 1) << "the registry let its reference go";
    EXPECT_FALSE(tkvCallBackForTimerCtrl::UnregisterTimer(b.get()));
    EXPECT_TRUE(tkvCallBackForTimerCtrl::UnregisterTimer(a.get()));
    EXPECT_TRUE(tkvCallBackForTimerCtrl::UnregisterTimer(c.get()));
}

TEST(tkvHyperArrayOperationForTimerCtrlTest, SlotsOpenAndCloseWhereAsked) {
    using namespace tkvHyperArrayOperationForTimerCtrl;
    auto a = std::make_shared<tkvTimerCtrl>();
    auto b = std::make_shared<tkvTimerCtrl>();
    TimerArray array{a, b};

    ASSERT_TRUE(InsertSlots(array, 2, 1, 2));
    EXPECT_EQ(array, (TimerArray{a, nullptr, nullptr, b}));
    EXPECT_EQ(b.use_count(), 2) << "moved, not copied";
    ASSERT_TRUE(InsertSlots(array, 4, 4, 1));
    EXPECT_EQ(array, (TimerArray{a, nullptr, nullptr, b, nullptr}));

    ASSERT_TRUE(RemoveSlots(array, 5, 1, 2));
    EXPECT_EQ(array, (TimerArray{a, b, nullptr}));
    ASSERT_TRUE(RemoveSlots(array, 3, 0, 3));
    EXPECT_TRUE(array.empty());
    EXPECT_EQ(a.use_count(), 1) << "released";
}

TEST(tkvHyperArrayOperationForTimerCtrlTest, ArgumentsOutsideTheArrayAreRefused) {
    using namespace tkvHyperArrayOperationForTimerCtrl;
    TimerArray array(3);
    EXPECT_FALSE(InsertSlots(array, 3, -1, 1));
    EXPECT_FALSE(InsertSlots(array, 3, 0, 0));
    EXPECT_FALSE(InsertSlots(array, 3, 4, 1));
    EXPECT_FALSE(InsertSlots(array, 2, 0, 1)) << "a count that is not the array's";
    EXPECT_FALSE(RemoveSlots(array, 3, -1, 1));
    EXPECT_FALSE(RemoveSlots(array, 3, 0, 0));
    EXPECT_FALSE(RemoveSlots(array, 3, 2, 2));
    EXPECT_FALSE(RemoveSlots(array, 4, 0, 1));
    EXPECT_EQ(array.size(), 3u);
}

}  // namespace
