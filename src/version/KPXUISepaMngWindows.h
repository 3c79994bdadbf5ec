#pragma once

#include <cstdint>
#include <memory>

class KPXUISepaMng;

// What the settings manager needs of the windows: the main window it hands itself to, the two
// notices of a completed version check, and the screen that the default window position
// centres on. The window layer implements it; so do tests.
class KPXUISepaMngWindows {
public:
    virtual ~KPXUISepaMngWindows() = default;

    // The screen's size in twips.
    virtual int32_t ScreenWidth() const = 0;
    virtual int32_t ScreenHeight() const = 0;

    // Sets the main window's settings manager to agSepaMng and shows the window non-modally;
    // false when it could not be shown.
    virtual bool ShowMainWindow(std::shared_ptr<KPXUISepaMng> agSepaMng) = 0;
    // Clears the main window's settings manager and unloads the window.
    virtual void UnloadMainWindow() = 0;

    // A completed check found a newer version: the update notice, owned by the main window. It
    // reads the result from the manager's WatchingControl()->CheckingControl().
    virtual void ShowRenewableNotice() = 0;
    // A completed check found no newer version, and NoticeWhenVersionChecked is set.
    virtual void ShowCheckedNotice() = 0;
};
