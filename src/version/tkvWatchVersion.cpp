#include "tkvWatchVersion.h"

#include "tkvCheckVersion.h"
#include "tkvDateControl.h"
#include "tkvTimeCycle.h"
#include "tkvTimerCtrl.h"

tkvWatchVersion::tkvWatchVersion() : clock_(&tkvDateTime::Now) {}

tkvWatchVersion::~tkvWatchVersion() { DropTimer(); }

void tkvWatchVersion::SetEnabled(bool agEnabled) {
    if (agEnabled == enabled_) {
        return;
    }
    DropTimer();
    if (!agEnabled) {
        return;
    }
    lcTimerCtrl = std::make_shared<tkvTimerCtrl>();
    lcTimerCtrl->AddEvents(this);
    lcTimerCtrl->SetInterval(interval_);
    lcTimerCtrl->SetEnabled(true);  // BecomeEffective sets enabled_
    if (!enabled_) {
        DropTimer();
        return;
    }
    bool keepRunning = false;
    lcTimerCtrl_Timer(keepRunning);
}

void tkvWatchVersion::DropTimer() {
    if (lcTimerCtrl) {
        // Stopping raises BecomeInvalid, which clears enabled_.
        lcTimerCtrl->SetEnabled(false);
        lcTimerCtrl->RemoveEvents(this);
        lcTimerCtrl.reset();
    }
    enabled_ = false;
}

void tkvWatchVersion::SetInterval(int32_t agValue) {
    if (agValue < 1) {
        return;
    }
    if (lcTimerCtrl) {
        lcTimerCtrl->SetInterval(agValue);
    }
    interval_ = agValue;
}

void tkvWatchVersion::lcTimerCtrl_Timer(bool& ouContinue) {
    const bool result = Tick();
    events_.Raise([result](tkvWatchVersionEvents& agEvents) { agEvents.TimerChecked(result); });
    ouContinue = true;
}

void tkvWatchVersion::lcTimerCtrl_BecomeEffective() {
    // Also after the timer restarted for a new interval, which first reported BecomeInvalid.
    enabled_ = true;
    events_.Raise([](tkvWatchVersionEvents& agEvents) { agEvents.BecomeEffective(); });
}

void tkvWatchVersion::lcTimerCtrl_BecomeInvalid() {
    enabled_ = false;
    events_.Raise([](tkvWatchVersionEvents& agEvents) { agEvents.BecomeInvalid(); });
}

bool tkvWatchVersion::Tick() { return enabled_ && Check(false); }

bool tkvWatchVersion::Check(bool agNotConfirmDate) {
    const double now = clock_();
    if (frequency_) {
        frequency_->SetBaseTime(now);
        frequency_->SetCycleCount(1);
        if (!frequency_->GetTimeAfterCycle()) {
            return false;
        }
        // The due time never lies more than one cycle ahead of the present.
        if (tkvDateControl::IsLater(nextTimeToCheck_, frequency_->CalculatedTime())) {
            nextTimeToCheck_ = frequency_->CalculatedTime();
        }
    }
    if (!agNotConfirmDate && !tkvDateControl::IsLater(now, nextTimeToCheck_)) {
        return true;  // nothing is due
    }
    if (!checkingControl_ || !checkingControl_->Check()) {
        return false;
    }
    if (frequency_) {
        frequency_->SetBaseTime(now);
        if (!frequency_->GetTimeAfterCycle()) {
            return false;
        }
        nextTimeToCheck_ = frequency_->CalculatedTime();
    }
    events_.Raise([](tkvWatchVersionEvents& agEvents) { agEvents.VersionChecked(); });
    return true;
}
