#pragma once

class QWidget;

// The order of windows on the desktop.
namespace tkvWindowSetting {

// Keeps agWindow above the others (agTopMost) or lets it go, without moving or resizing it.
bool SetWindowOrder(QWidget* agWindow, bool agTopMost);

}  // namespace tkvWindowSetting
