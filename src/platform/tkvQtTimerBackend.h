#pragma once

#include <QObject>
#include <set>

#include "tkvTimerBackend.h"

// The timers of the version watch on Qt's timers: each elapse calls
// tkvCallBackForTimerCtrl::TimerProc on the thread that started the timer.
class tkvQtTimerBackend : public QObject, public tkvTimerBackend {
public:
    tkvQtTimerBackend() = default;
    // Stops every timer still running: none may elapse after the application ends.
    ~tkvQtTimerBackend() override;

    int32_t StartTimer(int32_t agInterval) override;
    bool KillTimer(int32_t agTimerID) override;
    // Stops every running timer (at shut-down, before the application object ends).
    void KillAll();
    int RunningCount() const { return static_cast<int>(running_.size()); }

protected:
    void timerEvent(QTimerEvent* agEvent) override;

private:
    std::set<int> running_;
};
