#pragma once

#include <cstdint>
#include <memory>

class tkvTimerBackend;
class tkvTimerCtrl;

// The process's registry of running timer objects and the one procedure through which the
// platform's timers reach them. Touched only on the user-interface thread, so it has no lock.
// The registry's counted references keep a running timer alive even when nobody else holds it.
namespace tkvCallBackForTimerCtrl {

// The platform's timers; none until the window layer (or a test) sets them, and then timers
// cannot start.
void SetTimerBackend(std::shared_ptr<tkvTimerBackend> agBackend);
std::shared_ptr<tkvTimerBackend> TimerBackend();

// Appends agTimer to the registry; true.
bool RegisterTimer(std::shared_ptr<tkvTimerCtrl> agTimer);
// Removes the first entry that is agTimer itself, closing the gap; false when there is none.
bool UnregisterTimer(const tkvTimerCtrl* agTimer);

// Called by the backend at each elapse: raises the timer of the first entry whose TimerID is
// agTimerID. An identifier that matches no entry is ignored.
void TimerProc(int32_t agTimerID);

// The registry in the order of registration, for inspection.
int32_t RegisteredCount();
std::shared_ptr<tkvTimerCtrl> RegisteredTimer(int32_t agIndex);

}  // namespace tkvCallBackForTimerCtrl
