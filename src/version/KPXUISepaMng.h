#pragma once

#include <cstdint>
#include <memory>

#include "KPXUtilSettings.h"
#include "tkvDateTime.h"
#include "tkvWatchVersionEvents.h"

class KPXUISepaMngWindows;
class tkvBackgroundWork;
class tkvWatchVersion;

// The window's settings manager for the whole run: the settings of KPXUtilSettings plus the
// scheduled version check. It loads the settings file at start, sets up the version watch,
// hands itself to the main window, and at the end writes the settings file back and lets the
// main window go.
//
// REQUIRES for StartManagement: held by a std::shared_ptr (the main window shares it).
class KPXUISepaMng : public KPXUtilSettings,
                     public std::enable_shared_from_this<KPXUISepaMng>,
                     private tkvWatchVersionEvents {
public:
    using KPXUtilSettings::KPXUtilSettings;
    ~KPXUISepaMng() override;

    // Not owned; none until the start-up sets it. Its screen centres the default position.
    void SetWindows(KPXUISepaMngWindows* agWindows);
    // Where the watch's automatic checks fetch, off the window's thread; none: where they are
    // asked for. Takes effect when StartManagement sets the watch up.
    void SetBackgroundWork(std::shared_ptr<tkvBackgroundWork> agWork) {
        backgroundWork_ = std::move(agWork);
    }

    // Also switches the version watch on or off.
    void SetCheckVersion(bool agValue) override;
    // Also recomputes the schedule from LastTimeVersionChecked: one day, week or month later.
    void SetFrequencyOfCheckingVersion(int32_t agValue) override;

    // Computed, not stored: from when the next check is due.
    double NextTimeToCheckVersion() const { return nextTimeToCheckVersion_; }
    // The version watch; none before StartManagement.
    std::shared_ptr<tkvWatchVersion> WatchingControl() const { return lcWatchVersion; }

    // Loads the settings, sets up the version watch, and shows the main window with this
    // manager; false as soon as a step fails (no windows set, the window not shown).
    bool StartManagement();
    // Saves the settings; only then detaches from and unloads the main window. False, with the
    // window left alone, when the save failed. The watch is switched off either way.
    bool EndManagement();

private:
    // tkvWatchVersionEvents, received from lcWatchVersion.
    void VersionChecked() override { lcWatchVersion_VersionChecked(); }
    void lcWatchVersion_VersionChecked();

    void SetUpWatch();

    double nextTimeToCheckVersion_ = tkvDateTime::kZeroDate;
    KPXUISepaMngWindows* windows_ = nullptr;
    std::shared_ptr<tkvBackgroundWork> backgroundWork_;
    std::shared_ptr<tkvWatchVersion> lcWatchVersion;
};
