#include "tkvEventPump.h"

#include <memory>

namespace tkvEventPump {

namespace {

using Hook = std::function<void()>;

std::shared_ptr<const Hook>& CurrentHook() {
    static std::shared_ptr<const Hook> hook;
    return hook;
}

}  // namespace

void SetProcessEventsHook(std::function<void()> agHook) {
    CurrentHook() = agHook ? std::make_shared<const Hook>(std::move(agHook)) : nullptr;
}

void ProcessEvents() {
    // The hook may be replaced while it runs, by itself or by an event it handles: this
    // reference keeps it, with what it captured, alive until it returns.
    if (const std::shared_ptr<const Hook> hook = CurrentHook()) {
        (*hook)();
    }
}

}  // namespace tkvEventPump
