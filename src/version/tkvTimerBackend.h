#pragma once

#include <cstdint>

// The platform's periodic timers without a window. Each elapse of a started timer must call
// tkvCallBackForTimerCtrl::TimerProc with the timer's identifier, on the user-interface thread.
// The window layer provides one on top of its toolkit; tests fire timers by hand.
class tkvTimerBackend {
public:
    virtual ~tkvTimerBackend() = default;

    // Starts a timer that elapses every agInterval milliseconds (at least 1). Answers its
    // identifier, never 0; 0 when no timer could be started.
    virtual int32_t StartTimer(int32_t agInterval) = 0;
    // Stops the timer; false when agTimerID names no running timer.
    virtual bool KillTimer(int32_t agTimerID) = 0;
};
