#pragma once

class QWidget;

// The frame and the place of the small windows: a fixed border without minimize and maximize
// buttons, centred over the owner or on the screen. The size must be final before a window is
// centred.
namespace KPXUIWindowFrame {

// A fixed dialog border with a caption and a close box only.
void SetFixedDialogFrame(QWidget& agWindow);

// Centres agWindow over agOwner's window, kept inside the owner's screen; on the screen
// without an owner.
void CenterOverOwner(QWidget& agWindow, const QWidget* agOwner);

// Centres agWindow on its screen's available area.
void CenterOnScreen(QWidget& agWindow);

}  // namespace KPXUIWindowFrame
