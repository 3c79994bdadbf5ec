#include "tkvWatchVersion.h"

#include "tkvBackgroundWork.h"
#include "tkvCheckVersion.h"
#include "tkvDateControl.h"
#include "tkvTimeCycle.h"
#include "tkvTimerCtrl.h"

tkvWatchVersion::tkvWatchVersion() : clock_(&tkvDateTime::Now) {}

tkvWatchVersion::~tkvWatchVersion() {
    DropFetch();
    DropTimer();
}

void tkvWatchVersion::DropFetch() {
    if (pending_) {
        pending_->Owner = nullptr;  // a fetch on its way finds nobody to hand its bytes to
        pending_.reset();
    }
}

void tkvWatchVersion::SetHeld(bool agHeld) {
    held_ = agHeld;
    if (held_) {
        return;
    }
    if (pending_ && pending_->Arrived) {
        FetchArrived();
    } else if (dueWhileHeld_) {
        dueWhileHeld_ = false;
        const bool result = Tick();
        events_.Raise([result](tkvWatchVersionEvents& agEvents) { agEvents.TimerChecked(result); });
    }
}

void tkvWatchVersion::SetEnabled(bool agEnabled) {
    if (!agEnabled) {
        // A watch switched off reports nothing more, also when its timer had already stopped.
        DropFetch();
        dueWhileHeld_ = false;
    }
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

bool tkvWatchVersion::Tick() {
    if (!enabled_) {
        return false;
    }
    if (!background_ || !checkingControl_) {
        if (held_) {
            dueWhileHeld_ = true;  // asked again when the hold ends
            return true;
        }
        return Check(false);
    }
    if (pending_) {
        return true;  // one fetch at a time
    }
    double now = 0.0;
    bool due = false;
    if (!PrepareCheck(false, now, due)) {
        return false;
    }
    if (due && held_) {
        dueWhileHeld_ = true;
    } else if (due) {
        StartFetch(now);
    }
    return true;
}

void tkvWatchVersion::StartFetch(double agNow) {
    auto fetch = std::make_shared<Fetch>();
    fetch->Owner = this;
    fetch->Now = agNow;
    pending_ = fetch;
    // The work reads only its own copies: the check object stays on this thread.
    const std::string address = checkingControl_->Address();
    const int32_t connectTimeout = checkingControl_->ConnectTimeout();
    const int32_t requestTimeout = checkingControl_->RequestTimeout();
    background_->Run(
        [fetch, address, connectTimeout, requestTimeout](const std::atomic<bool>& agAbort) {
            fetch->Fetched = tkvCheckVersion::FetchVersionFile(
                address, connectTimeout, requestTimeout, fetch->Bytes, &agAbort);
        },
        [fetch] {
            fetch->Arrived = true;
            if (fetch->Owner != nullptr && !fetch->Owner->held_) {
                fetch->Owner->FetchArrived();
            }
        });
}

void tkvWatchVersion::FetchArrived() {
    const std::shared_ptr<Fetch> fetch = std::move(pending_);
    const bool result = fetch->Fetched && checkingControl_ &&
                        checkingControl_->CheckVersionFile(std::move(fetch->Bytes)) &&
                        CompleteCheck(fetch->Now);
    if (!result) {
        events_.Raise([](tkvWatchVersionEvents& agEvents) { agEvents.TimerChecked(false); });
    }
}

bool tkvWatchVersion::PrepareCheck(bool agNotConfirmDate, double& ouNow, bool& ouDue) {
    ouNow = clock_();
    if (frequency_) {
        frequency_->SetBaseTime(ouNow);
        frequency_->SetCycleCount(1);
        if (!frequency_->GetTimeAfterCycle()) {
            return false;
        }
        // The due time never lies more than one cycle ahead of the present.
        if (tkvDateControl::IsLater(nextTimeToCheck_, frequency_->CalculatedTime())) {
            nextTimeToCheck_ = frequency_->CalculatedTime();
        }
    }
    ouDue = agNotConfirmDate || tkvDateControl::IsLater(ouNow, nextTimeToCheck_);
    return true;
}

bool tkvWatchVersion::CompleteCheck(double agNow) {
    if (frequency_) {
        frequency_->SetBaseTime(agNow);
        if (!frequency_->GetTimeAfterCycle()) {
            return false;
        }
        nextTimeToCheck_ = frequency_->CalculatedTime();
    }
    events_.Raise([](tkvWatchVersionEvents& agEvents) { agEvents.VersionChecked(); });
    return true;
}

bool tkvWatchVersion::Check(bool agNotConfirmDate) {
    double now = 0.0;
    bool due = false;
    if (!PrepareCheck(agNotConfirmDate, now, due)) {
        return false;
    }
    if (!due) {
        return true;  // nothing is due
    }
    // This check answers for a tick's fetch on its way, which began earlier: handled after it,
    // that fetch would report a second time and move the times back.
    DropFetch();
    return checkingControl_ && checkingControl_->Check() && CompleteCheck(now);
}
