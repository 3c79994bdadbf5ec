#include "tkvEventPump.h"

namespace tkvEventPump {

namespace {

std::function<void()>& Hook() {
    static std::function<void()> hook;
    return hook;
}

}  // namespace

void SetProcessEventsHook(std::function<void()> agHook) { Hook() = std::move(agHook); }

void ProcessEvents() {
    if (Hook()) {
        Hook()();
    }
}

}  // namespace tkvEventPump
