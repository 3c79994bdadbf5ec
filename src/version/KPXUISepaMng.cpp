#include "KPXUISepaMng.h"

#include "DividoraAddresses.h"
#include "DividoraVersion.h"
#include "KPXUISepaMngWindows.h"
#include "tkvCheckVersion.h"
#include "tkvTimeCycle.h"
#include "tkvWatchVersion.h"

KPXUISepaMng::~KPXUISepaMng() {
    // The main window may still hold the watch: it must not call back into this object.
    if (lcWatchVersion) {
        lcWatchVersion->RemoveEvents(this);
    }
}

void KPXUISepaMng::SetWindows(KPXUISepaMngWindows* agWindows) {
    windows_ = agWindows;
    if (windows_ != nullptr) {
        SetScreenSize(windows_->ScreenWidth(), windows_->ScreenHeight());
    }
}

void KPXUISepaMng::SetCheckVersion(bool agValue) {
    KPXUtilSettings::SetCheckVersion(agValue);
    if (lcWatchVersion) {
        lcWatchVersion->SetEnabled(agValue);
    }
}

void KPXUISepaMng::SetFrequencyOfCheckingVersion(int32_t agValue) {
    KPXUtilSettings::SetFrequencyOfCheckingVersion(agValue);
    const std::shared_ptr<tkvTimeCycle> cycle =
        lcWatchVersion ? lcWatchVersion->Frequency() : nullptr;
    if (!cycle) {
        return;  // computed when the watch is set up
    }
    switch (agValue) {
        case kEveryDay:
            cycle->SetDayToAdd(1);
            cycle->SetMonthToAdd(0);
            break;
        case kEveryWeek:
            cycle->SetDayToAdd(7);
            cycle->SetMonthToAdd(0);
            break;
        case kEveryMonth:
            cycle->SetDayToAdd(0);
            cycle->SetMonthToAdd(1);
            break;
        default:
            break;
    }
    cycle->SetCycleCount(1);
    cycle->SetBaseTime(LastTimeVersionChecked());
    if (cycle->GetTimeAfterCycle()) {
        nextTimeToCheckVersion_ = cycle->CalculatedTime();
        lcWatchVersion->SetNextTimeToCheck(nextTimeToCheckVersion_);
    }
}

bool KPXUISepaMng::StartManagement() {
    if (!Load()) {
        return false;
    }
    SetUpWatch();
    return windows_ != nullptr && windows_->ShowMainWindow(shared_from_this());
}

bool KPXUISepaMng::EndManagement() {
    // No check may start while the program ends, whether the save works or not.
    if (lcWatchVersion) {
        lcWatchVersion->SetEnabled(false);
    }
    if (!Save()) {
        return false;
    }
    if (windows_ != nullptr) {
        windows_->UnloadMainWindow();
        windows_ = nullptr;
    }
    return true;
}

void KPXUISepaMng::SetUpWatch() {
    auto cycle = std::make_shared<tkvTimeCycle>();
    cycle->SetCycleMode(tkvTimeCycle::kAddAmounts);

    auto check = std::make_shared<tkvCheckVersion>();
    check->SetAddress(DividoraAddresses::kVersionAddress);
    check->SetClientProductName(ProductName());
    check->SetClientMajor(DividoraVersion::kMajor);
    check->SetClientMinor(DividoraVersion::kMinor);
    check->SetClientRevision(DividoraVersion::kRevision);

    if (lcWatchVersion) {
        lcWatchVersion->RemoveEvents(this);
    }
    lcWatchVersion = std::make_shared<tkvWatchVersion>();
    lcWatchVersion->AddEvents(this);
    lcWatchVersion->SetFrequency(cycle);
    lcWatchVersion->SetBackground(backgroundWork_);
    SetFrequencyOfCheckingVersion(FrequencyOfCheckingVersion());
    lcWatchVersion->SetCheckingControl(check);
}

void KPXUISepaMng::lcWatchVersion_VersionChecked() {
    const std::shared_ptr<tkvTimeCycle> cycle = lcWatchVersion->Frequency();
    // The cycle's base is the time of this check.
    RecordVersionCheck(cycle ? cycle->BaseTime() : LastTimeVersionChecked());
    nextTimeToCheckVersion_ = lcWatchVersion->NextTimeToCheck();
    if (windows_ == nullptr) {
        return;
    }
    const std::shared_ptr<tkvCheckVersion> check = lcWatchVersion->CheckingControl();
    if (check && check->IsUpDated()) {
        windows_->ShowRenewableNotice();
    } else if (NoticeWhenVersionChecked()) {
        windows_->ShowCheckedNotice();
    }
}
