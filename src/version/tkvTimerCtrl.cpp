#include "tkvTimerCtrl.h"

#include "tkvCallBackForTimerCtrl.h"
#include "tkvTimerBackend.h"

tkvTimerCtrl::~tkvTimerCtrl() {
    if (timerID_ != 0 && backend_) {
        backend_->KillTimer(timerID_);
    }
}

void tkvTimerCtrl::SetInterval(int32_t agInterval) {
    if (agInterval < 1 || agInterval == interval_) {
        return;
    }
    if (enabled_) {
        Stop();
        interval_ = agInterval;
        Start();
    } else {
        interval_ = agInterval;
    }
}

void tkvTimerCtrl::SetEnabled(bool agEnabled) {
    if (agEnabled == enabled_) {
        return;
    }
    if (agEnabled) {
        Start();
    } else {
        Stop();
    }
}

bool tkvTimerCtrl::Start() {
    std::shared_ptr<tkvTimerBackend> backend = tkvCallBackForTimerCtrl::TimerBackend();
    if (!backend || interval_ < 1 || !tkvCallBackForTimerCtrl::RegisterTimer(shared_from_this())) {
        return false;
    }
    const int32_t timerID = backend->StartTimer(interval_);
    if (timerID == 0) {
        // Leaving the object registered would keep a timer that never runs alive for good.
        tkvCallBackForTimerCtrl::UnregisterTimer(this);
        return false;
    }
    backend_ = std::move(backend);
    timerID_ = timerID;
    enabled_ = true;
    events_.Raise([](tkvTimerCtrlEvents& agEvents) { agEvents.BecomeEffective(); });
    return true;
}

bool tkvTimerCtrl::Stop() {
    // Keeps this object alive when the registry held the last reference.
    const std::shared_ptr<tkvTimerCtrl> self = shared_from_this();
    if (!tkvCallBackForTimerCtrl::UnregisterTimer(this)) {
        return false;
    }
    // Once unregistered no elapse reaches this object, so it is off even if the platform
    // refuses to kill the timer; staying "enabled" would leave it impossible to stop or restart.
    const bool killed = backend_->KillTimer(timerID_);
    backend_.reset();
    timerID_ = 0;
    enabled_ = false;
    events_.Raise([](tkvTimerCtrlEvents& agEvents) { agEvents.BecomeInvalid(); });
    return killed;
}

void tkvTimerCtrl::RaiseTimer() {
    bool keepRunning = false;
    events_.Raise([&](tkvTimerCtrlEvents& agEvents) { agEvents.Timer(keepRunning); });
    if (!keepRunning && enabled_) {
        Stop();
    }
}
