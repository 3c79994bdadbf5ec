#pragma once

#include <functional>

// Long operations run on the user-interface thread; at each cancel poll and status change they
// let the application handle its pending window messages through this hook. The window sets it
// to its toolkit's event processing; the command-line tool uses it to notice Ctrl+C.
namespace tkvEventPump {

// May be called from inside the hook: the running hook stays alive until it returns.
void SetProcessEventsHook(std::function<void()> agHook);
// Runs the hook once; nothing when none is set.
void ProcessEvents();

}  // namespace tkvEventPump
