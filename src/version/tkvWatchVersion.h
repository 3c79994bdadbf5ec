#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "tkvDateTime.h"
#include "tkvEventReceivers.h"
#include "tkvTimerCtrlEvents.h"
#include "tkvWatchVersionEvents.h"

class tkvCheckVersion;
class tkvTimeCycle;
class tkvTimerCtrl;

// Runs the version check once it is due and keeps the time of the next one. While enabled a
// timer ticks every Interval milliseconds; a tick runs the check when the current time is later
// than NextTimeToCheck. A failed check keeps the due time, so the next tick tries again.
class tkvWatchVersion : private tkvTimerCtrlEvents {
public:
    static constexpr int32_t kDefaultInterval = 600000;  // ten minutes

    // The current local date-time; tests set their own clock.
    using Clock = std::function<double()>;

    tkvWatchVersion();
    // Switches the watch off.
    ~tkvWatchVersion() override;
    tkvWatchVersion(const tkvWatchVersion&) = delete;
    tkvWatchVersion& operator=(const tkvWatchVersion&) = delete;

    bool Enabled() const { return enabled_; }
    // True starts a new polling timer and runs one tick at once; false stops and drops it. The
    // watch stays disabled when no timer can be started. Enabled follows the timer: it turns
    // false when the timer stops by itself.
    void SetEnabled(bool agEnabled);

    double NextTimeToCheck() const { return nextTimeToCheck_; }
    void SetNextTimeToCheck(double agValue) { nextTimeToCheck_ = agValue; }

    int32_t Interval() const { return interval_; }
    // Passed on to a running timer. A value below 1 is ignored, as the timer ignores it.
    void SetInterval(int32_t agValue);

    // How far the next due time lies after a check; none checks at every tick.
    std::shared_ptr<tkvTimeCycle> Frequency() const { return frequency_; }
    void SetFrequency(std::shared_ptr<tkvTimeCycle> agValue) { frequency_ = std::move(agValue); }
    std::shared_ptr<tkvCheckVersion> CheckingControl() const { return checkingControl_; }
    void SetCheckingControl(std::shared_ptr<tkvCheckVersion> agValue) {
        checkingControl_ = std::move(agValue);
    }

    void SetClock(Clock agClock) { clock_ = std::move(agClock); }

    // Runs the check when it is due, or at once with agNotConfirmDate. First lowers a due time
    // that lies more than one cycle ahead (a clock set back, a shorter frequency). False when
    // the check or the cycle arithmetic fails; then VersionChecked is not raised.
    bool Check(bool agNotConfirmDate);

    // Not owned: a receiver removes itself before it goes away. Called in the order added.
    void AddEvents(tkvWatchVersionEvents* agEvents) { events_.Add(agEvents); }
    void RemoveEvents(tkvWatchVersionEvents* agEvents) { events_.Remove(agEvents); }

private:
    // tkvTimerCtrlEvents, received from lcTimerCtrl.
    void Timer(bool& ouContinue) override { lcTimerCtrl_Timer(ouContinue); }
    void BecomeEffective() override { lcTimerCtrl_BecomeEffective(); }
    void BecomeInvalid() override { lcTimerCtrl_BecomeInvalid(); }

    void lcTimerCtrl_Timer(bool& ouContinue);
    void lcTimerCtrl_BecomeEffective();
    void lcTimerCtrl_BecomeInvalid();

    void DropTimer();
    bool Tick();

    bool enabled_ = false;
    double nextTimeToCheck_ = tkvDateTime::kZeroDate;
    int32_t interval_ = kDefaultInterval;
    std::shared_ptr<tkvTimeCycle> frequency_;
    std::shared_ptr<tkvCheckVersion> checkingControl_;
    Clock clock_;
    std::shared_ptr<tkvTimerCtrl> lcTimerCtrl;
    tkvEventReceivers<tkvWatchVersionEvents> events_;
};
