#pragma once

#include <cstdint>
#include <memory>

#include "tkvEventReceivers.h"
#include "tkvTimerCtrlEvents.h"

class tkvTimerBackend;

// A timer without a window: while enabled it raises Timer every Interval milliseconds, through
// the backend set in tkvCallBackForTimerCtrl. A running timer is kept alive by the registry.
//
// REQUIRES: held by a std::shared_ptr before it is enabled (the registry shares it).
class tkvTimerCtrl : public std::enable_shared_from_this<tkvTimerCtrl> {
public:
    tkvTimerCtrl() = default;
    // Only reached when the registry itself goes away with the process: the platform timer is
    // killed, and no event is raised any more.
    ~tkvTimerCtrl();
    tkvTimerCtrl(const tkvTimerCtrl&) = delete;
    tkvTimerCtrl& operator=(const tkvTimerCtrl&) = delete;

    int32_t Interval() const { return interval_; }
    // A value below 1 or equal to the current one is ignored. A running timer is stopped and
    // started again with the new interval, under a new identifier.
    void SetInterval(int32_t agInterval);

    bool Enabled() const { return enabled_; }
    // True starts, false stops; the current value does nothing. Starting fails (Enabled stays
    // false) without a backend, with Interval still 0, or when the backend refuses.
    void SetEnabled(bool agEnabled);

    // The platform's identifier; 0 while not running.
    int32_t TimerID() const { return timerID_; }

    // For tkvCallBackForTimerCtrl: raises Timer; unless a receiver asks to continue, stops.
    void RaiseTimer();

    // Not owned: a receiver removes itself before it goes away.
    void AddEvents(tkvTimerCtrlEvents* agEvents) { events_.Add(agEvents); }
    void RemoveEvents(tkvTimerCtrlEvents* agEvents) { events_.Remove(agEvents); }

private:
    bool Start();
    bool Stop();

    int32_t interval_ = 0;
    bool enabled_ = false;
    int32_t timerID_ = 0;
    // The backend the running timer was started on, so it is stopped on the same one.
    std::shared_ptr<tkvTimerBackend> backend_;
    tkvEventReceivers<tkvTimerCtrlEvents> events_;
};
