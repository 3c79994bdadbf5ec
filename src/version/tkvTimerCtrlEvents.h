#pragma once

// The events of tkvTimerCtrl, raised synchronously on the user-interface thread. A receiver
// overrides what it needs.
class tkvTimerCtrlEvents {
public:
    virtual ~tkvTimerCtrlEvents() = default;

    // The interval elapsed. Unless a receiver sets ouContinue, the timer stops after this.
    virtual void Timer(bool& /*ouContinue*/) {}
    // The timer started, and stopped.
    virtual void BecomeEffective() {}
    virtual void BecomeInvalid() {}
};
