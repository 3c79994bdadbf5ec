#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KPXUISepaMngWindows.h"

class KPXUIBase;
class KPXUISepaMng;
class KPXUIStartForm;
class tkvBackgroundWork;

// The one start-up object of a run: it shows the splash, owns the settings manager for the
// whole run, and gives the manager its windows (the main window and the notices).
class KPXUIStartClass : public KPXUISepaMngWindows {
public:
    // agPieces: the files the program was started with, listed on the restore page.
    explicit KPXUIStartClass(std::vector<std::string> agPieces = {});
    ~KPXUIStartClass() override;
    KPXUIStartClass(const KPXUIStartClass&) = delete;
    KPXUIStartClass& operator=(const KPXUIStartClass&) = delete;

    // None before StartApplication and after a successful EndApplication.
    std::shared_ptr<KPXUISepaMng> SepaMng() const { return sepaMng_; }
    // The main window while it exists.
    KPXUIBase* MainWindow() const { return mainWindow_.get(); }

    bool StartFormVisible() const;
    // Shows the splash on top of the other windows, or removes it; the same value changes
    // nothing. The main window removes it when it is first activated, and at the latest a few
    // seconds after it was shown.
    void SetStartFormVisible(bool agVisible);

    // Shows the splash, makes the settings manager and starts it, with agSepaMng when given (a
    // test's settings folder), else the program's own.
    bool StartApplication(std::shared_ptr<KPXUISepaMng> agSepaMng = nullptr);
    // Ends the settings manager: true when the settings were written, and then it is let go.
    bool EndApplication();

    // Where the version watch fetches off the window's thread.
    void SetBackgroundWork(std::shared_ptr<tkvBackgroundWork> agWork) {
        backgroundWork_ = std::move(agWork);
    }

    // KPXUISepaMngWindows.
    int32_t ScreenWidth() const override;
    int32_t ScreenHeight() const override;
    bool ShowMainWindow(std::shared_ptr<KPXUISepaMng> agSepaMng) override;
    void UnloadMainWindow() override;
    void ShowRenewableNotice() override;
    void ShowCheckedNotice() override;

private:
    std::vector<std::string> pieces_;
    std::shared_ptr<KPXUISepaMng> sepaMng_;
    std::shared_ptr<tkvBackgroundWork> backgroundWork_;
    std::unique_ptr<KPXUIStartForm> startForm_;
    std::unique_ptr<KPXUIBase> mainWindow_;
};
