#pragma once

// The Qt application object of the program: whether the machine has a display for it, and
// what it is told once it exists.
namespace KPXUIApplication {

// True where Qt can open windows: a platform is named (QT_QPA_PLATFORM) or an X11 or Wayland
// display is given. Without one, Qt would abort as the application object is made.
bool HasDisplay();

// Names the application for its message boxes and the desktop, and loads Qt's own texts
// (dialogs, context menus) in Japanese, as the windows' own texts are, whatever the user's
// locale. Call once, after the application object is made.
void Prepare();

}  // namespace KPXUIApplication
