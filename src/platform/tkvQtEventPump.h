#pragma once

// Connects the core's event pump to Qt: while a split or restore runs on the window's
// thread, each cancel poll and status change lets Qt handle pending events (a cancel click, a
// repaint, a close request).
namespace tkvQtEventPump {

void Install();
void Uninstall();

}  // namespace tkvQtEventPump
