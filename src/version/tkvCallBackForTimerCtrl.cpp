#include "tkvCallBackForTimerCtrl.h"

#include <stdexcept>

#include "tkvHyperArrayOperationForTimerCtrl.h"
#include "tkvTimerBackend.h"
#include "tkvTimerCtrl.h"

namespace tkvCallBackForTimerCtrl {

namespace {

struct Registry {
    std::shared_ptr<tkvTimerBackend> Backend;
    int32_t Count = 0;
    tkvHyperArrayOperationForTimerCtrl::TimerArray Timers;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

}  // namespace

void SetTimerBackend(std::shared_ptr<tkvTimerBackend> agBackend) {
    TheRegistry().Backend = std::move(agBackend);
}

std::shared_ptr<tkvTimerBackend> TimerBackend() { return TheRegistry().Backend; }

bool RegisterTimer(std::shared_ptr<tkvTimerCtrl> agTimer) {
    Registry& registry = TheRegistry();
    if (!tkvHyperArrayOperationForTimerCtrl::InsertSlots(registry.Timers, registry.Count,
                                                         registry.Count, 1)) {
        return false;
    }
    registry.Timers[static_cast<size_t>(registry.Count)] = std::move(agTimer);
    ++registry.Count;
    return true;
}

bool UnregisterTimer(const tkvTimerCtrl* agTimer) {
    Registry& registry = TheRegistry();
    for (int32_t i = 0; i < registry.Count; ++i) {
        if (registry.Timers[static_cast<size_t>(i)].get() == agTimer) {
            if (!tkvHyperArrayOperationForTimerCtrl::RemoveSlots(registry.Timers, registry.Count, i,
                                                                 1)) {
                return false;
            }
            --registry.Count;
            return true;
        }
    }
    return false;
}

void TimerProc(int32_t agTimerID) {
    const Registry& registry = TheRegistry();
    for (const std::shared_ptr<tkvTimerCtrl>& entry : registry.Timers) {
        if (entry->TimerID() == agTimerID) {
            // A handler that stops the timer drops the registry's reference: hold one meanwhile.
            const std::shared_ptr<tkvTimerCtrl> timer = entry;
            timer->RaiseTimer();
            return;
        }
    }
}

int32_t RegisteredCount() { return TheRegistry().Count; }

std::shared_ptr<tkvTimerCtrl> RegisteredTimer(int32_t agIndex) {
    const Registry& registry = TheRegistry();
    if (agIndex < 0 || agIndex >= registry.Count) {
        throw std::out_of_range("tkvCallBackForTimerCtrl: no timer at position " +
                                std::to_string(agIndex));
    }
    return registry.Timers[static_cast<size_t>(agIndex)];
}

}  // namespace tkvCallBackForTimerCtrl
