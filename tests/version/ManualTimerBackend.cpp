#include "ManualTimerBackend.h"

#include "tkvCallBackForTimerCtrl.h"

int32_t ManualTimerBackend::StartTimer(int32_t agInterval) {
    if (refuseStart_) {
        return 0;
    }
    running_[++lastID_] = agInterval;
    return lastID_;
}

bool ManualTimerBackend::KillTimer(int32_t agTimerID) {
    if (refuseKill_) {
        return false;
    }
    return running_.erase(agTimerID) == 1;
}

bool ManualTimerBackend::Fire(int32_t agTimerID) {
    if (running_.count(agTimerID) == 0) {
        return false;
    }
    tkvCallBackForTimerCtrl::TimerProc(agTimerID);
    return true;
}

int32_t ManualTimerBackend::IntervalOf(int32_t agTimerID) const {
    const auto found = running_.find(agTimerID);
    return found == running_.end() ? 0 : found->second;
}
