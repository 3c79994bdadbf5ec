#include "tkvQtTimerBackend.h"

#include <QTimerEvent>
#include <vector>

#include "tkvCallBackForTimerCtrl.h"

tkvQtTimerBackend::~tkvQtTimerBackend() { KillAll(); }

int32_t tkvQtTimerBackend::StartTimer(int32_t agInterval) {
    if (agInterval < 1) {
        return 0;
    }
    const int timerID = startTimer(agInterval);
    if (timerID != 0) {
        running_.insert(timerID);
    }
    return timerID;
}

bool tkvQtTimerBackend::KillTimer(int32_t agTimerID) {
    if (running_.erase(agTimerID) == 0) {
        return false;
    }
    killTimer(agTimerID);
    return true;
}

void tkvQtTimerBackend::KillAll() {
    const std::vector<int> running(running_.begin(), running_.end());
    for (const int timerID : running) {
        KillTimer(timerID);
    }
}

void tkvQtTimerBackend::timerEvent(QTimerEvent* agEvent) {
    tkvCallBackForTimerCtrl::TimerProc(agEvent->timerId());
}
