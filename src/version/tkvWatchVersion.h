#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tkvDateTime.h"
#include "tkvEventReceivers.h"
#include "tkvTimerCtrlEvents.h"
#include "tkvWatchVersionEvents.h"

class tkvBackgroundWork;
class tkvCheckVersion;
class tkvTimeCycle;
class tkvTimerCtrl;

// Runs the version check once it is due and keeps the time of the next one. While enabled a
// timer ticks every Interval milliseconds; a tick runs the check when the current time is later
// than NextTimeToCheck. A failed check keeps the due time, so the next tick tries again.
//
// With Background set, a tick fetches the version file off the user-interface thread and
// handles it on that thread when it has arrived, so a machine without network never freezes
// the window for the check's time limits. While Held (a split or restore runs), a tick that
// finds the check due waits; the check runs when the hold is released.
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
    // True starts a new polling timer and runs one tick at once; false stops and drops it, and
    // drops a tick's fetch on its way. The watch stays disabled when no timer can be started.
    // Enabled follows the timer: it turns false when the timer stops by itself.
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

    // None: every check runs where it is asked for.
    void SetBackground(std::shared_ptr<tkvBackgroundWork> agValue) {
        background_ = std::move(agValue);
    }
    bool Held() const { return held_; }
    // Releasing runs the check that fell due meanwhile, and hands on a fetch that arrived.
    void SetHeld(bool agHeld);
    // A tick's fetch is on its way.
    bool Fetching() const { return pending_ != nullptr; }

    // Runs the check when it is due, or at once with agNotConfirmDate. First lowers a due time
    // that lies more than one cycle ahead (a clock set back, a shorter frequency). False when
    // the check or the cycle arithmetic fails; then VersionChecked is not raised. A check that
    // runs drops a tick's fetch on its way.
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

    // What a fetch off the thread brings back; its owner is cleared when the watch goes.
    struct Fetch {
        tkvWatchVersion* Owner = nullptr;
        double Now = 0.0;
        bool Arrived = false;
        bool Fetched = false;
        std::string Bytes;
    };

    void DropTimer();
    // A fetch on its way is handed to nobody.
    void DropFetch();
    bool Tick();
    // The time of the check and whether it is due; false when the cycle arithmetic fails.
    bool PrepareCheck(bool agNotConfirmDate, double& ouNow, bool& ouDue);
    // After a successful check at agNow: the next due time, then VersionChecked.
    bool CompleteCheck(double agNow);
    void StartFetch(double agNow);
    void FetchArrived();

    bool enabled_ = false;
    double nextTimeToCheck_ = tkvDateTime::kZeroDate;
    int32_t interval_ = kDefaultInterval;
    std::shared_ptr<tkvTimeCycle> frequency_;
    std::shared_ptr<tkvCheckVersion> checkingControl_;
    Clock clock_;
    std::shared_ptr<tkvTimerCtrl> lcTimerCtrl;
    tkvEventReceivers<tkvWatchVersionEvents> events_;
    std::shared_ptr<tkvBackgroundWork> background_;
    std::shared_ptr<Fetch> pending_;
    bool held_ = false;
    bool dueWhileHeld_ = false;
};
