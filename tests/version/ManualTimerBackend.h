#pragma once

#include <cstdint>
#include <map>

#include "tkvTimerBackend.h"

// Timers that elapse only when a test says so, through the same callback the platform's
// timers use.
class ManualTimerBackend : public tkvTimerBackend {
public:
    int32_t StartTimer(int32_t agInterval) override;
    bool KillTimer(int32_t agTimerID) override;

    // One elapse of a running timer: tkvCallBackForTimerCtrl::TimerProc(agTimerID). False, and
    // nothing happens, when the timer is not running.
    bool Fire(int32_t agTimerID);

    int32_t RunningCount() const { return static_cast<int32_t>(running_.size()); }
    // The interval the timer was started with; 0 when it is not running.
    int32_t IntervalOf(int32_t agTimerID) const;

    // Makes the next starts, or kills, fail as a platform may.
    void SetRefuseStart(bool agValue) { refuseStart_ = agValue; }
    void SetRefuseKill(bool agValue) { refuseKill_ = agValue; }

private:
    std::map<int32_t, int32_t> running_;  // identifier -> interval
    int32_t lastID_ = 0;
    bool refuseStart_ = false;
    bool refuseKill_ = false;
};
