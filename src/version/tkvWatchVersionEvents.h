#pragma once

// The events of tkvWatchVersion, raised synchronously on the user-interface thread. A receiver
// overrides what it needs.
class tkvWatchVersionEvents {
public:
    virtual ~tkvWatchVersionEvents() = default;

    // A check completed; the watch's NextTimeToCheck and its Frequency's BaseTime (the time of
    // the check) are already updated.
    virtual void VersionChecked() {}
    // A tick ran; agResult is false when a due check failed.
    virtual void TimerChecked(bool /*agResult*/) {}
    // The polling timer started, and stopped.
    virtual void BecomeEffective() {}
    virtual void BecomeInvalid() {}
};
