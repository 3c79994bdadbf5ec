#pragma once

#include <cstdint>
#include <string>

#include "tkvDateTime.h"

// The application's constants, the user's settings and their file "KPXUtil.dat": what the
// operation assistant and the command-line tool read. No network and no windows: the window's
// settings manager (KPXUISepaMng) adds the version watch on top of these values.
//
// The settings file lives beside the program when that folder is writable, otherwise in the
// per-user configuration folder; the help pages are always looked for beside the program.
class KPXUtilSettings {
public:
    // The size of the main window the default position centres, in twips.
    static constexpr int32_t kMainWindowWidth = 6825;
    static constexpr int32_t kMainWindowHeight = 5715;

    // TransmissionByteSize values outside this range load the default instead.
    static constexpr int32_t kLeastTransmissionByteSize = 1;
    static constexpr int32_t kMostTransmissionByteSize = 64 * 1024 * 1024;

    // FrequencyOfCheckingVersion values.
    static constexpr int32_t kEveryDay = 1;
    static constexpr int32_t kEveryWeek = 2;
    static constexpr int32_t kEveryMonth = 3;

    // The only command-line switch: remove the settings file.
    static constexpr const char* kUninstallSwitch = "/Uninstall";

    // Locates the program's folder and the settings folder of this machine.
    KPXUtilSettings();
    // Help pages in agApplicationFolder, the settings file in agSettingsFolder.
    KPXUtilSettings(std::string agApplicationFolder, std::string agSettingsFolder);
    virtual ~KPXUtilSettings() = default;
    KPXUtilSettings(const KPXUtilSettings&) = delete;
    KPXUtilSettings& operator=(const KPXUtilSettings&) = delete;

    // The folder of the running program.
    static std::string ProgramFolder();
    // agProgramFolder when it is a writable folder, otherwise $XDG_CONFIG_HOME/dividora
    // (~/.config/dividora by default), which the first save creates.
    static std::string SettingsFolderFor(const std::string& agProgramFolder);

    // The screen the default window position centres on, in twips; until it is set, a screen
    // as large as the main window.
    void SetScreenSize(int32_t agWidth, int32_t agHeight);

    const std::string& FileAddressOfUtility() const { return fileAddressOfUtility_; }
    std::string ProductName() const;
    std::string ProductComment() const;
    std::string FileKindOfUtility() const;
    int32_t FileVersionOfUtility() const;
    std::string SiteAddressOfTKV() const;
    const std::string& FileAddressOfHelp() const { return fileAddressOfHelp_; }
    const std::string& FileAddressOfHowToAdd() const { return fileAddressOfHowToAdd_; }
    const std::string& FileAddressOfHowToUpdate() const { return fileAddressOfHowToUpdate_; }

    // The main window's left and top edges, in twips.
    int32_t BasePositionX() const { return settings_.BasePositionX; }
    void SetBasePositionX(int32_t agValue) { settings_.BasePositionX = agValue; }
    int32_t BasePositionY() const { return settings_.BasePositionY; }
    void SetBasePositionY(int32_t agValue) { settings_.BasePositionY = agValue; }
    bool ConfirmFileSize() const { return settings_.ConfirmFileSize; }
    void SetConfirmFileSize(bool agValue) { settings_.ConfirmFileSize = agValue; }
    bool ConfirmDividoraSize() const { return settings_.ConfirmDividoraSize; }
    void SetConfirmDividoraSize(bool agValue) { settings_.ConfirmDividoraSize = agValue; }
    int32_t TransmissionByteSize() const { return settings_.TransmissionByteSize; }
    void SetTransmissionByteSize(int32_t agValue) { settings_.TransmissionByteSize = agValue; }
    bool ClearCreatedFileWhenUncompleted() const {
        return settings_.ClearCreatedFileWhenUncompleted;
    }
    void SetClearCreatedFileWhenUncompleted(bool agValue) {
        settings_.ClearCreatedFileWhenUncompleted = agValue;
    }
    int32_t UpperCountToWarn() const { return settings_.UpperCountToWarn; }
    void SetUpperCountToWarn(int32_t agValue) { settings_.UpperCountToWarn = agValue; }
    int32_t HowToNameDividora() const { return settings_.HowToNameDividora; }
    void SetHowToNameDividora(int32_t agValue) { settings_.HowToNameDividora = agValue; }
    int32_t HowToSeparate() const { return settings_.HowToSeparate; }
    void SetHowToSeparate(int32_t agValue) { settings_.HowToSeparate = agValue; }
    int32_t SeparateFileModeFileSizeUnit() const { return settings_.SeparateFileModeFileSizeUnit; }
    void SetSeparateFileModeFileSizeUnit(int32_t agValue) {
        settings_.SeparateFileModeFileSizeUnit = agValue;
    }
    bool DialogToEstimateRestoring() const { return settings_.DialogToEstimateRestoring; }
    void SetDialogToEstimateRestoring(bool agValue) {
        settings_.DialogToEstimateRestoring = agValue;
    }
    int32_t WhenRestoringFailed() const { return settings_.WhenRestoringFailed; }
    void SetWhenRestoringFailed(int32_t agValue) { settings_.WhenRestoringFailed = agValue; }
    bool CheckVersion() const { return settings_.CheckVersion; }
    // The window's settings manager also switches the version watch on or off.
    virtual void SetCheckVersion(bool agValue) { settings_.CheckVersion = agValue; }
    bool NoticeWhenVersionChecked() const { return settings_.NoticeWhenVersionChecked; }
    void SetNoticeWhenVersionChecked(bool agValue) { settings_.NoticeWhenVersionChecked = agValue; }
    int32_t FrequencyOfCheckingVersion() const { return settings_.FrequencyOfCheckingVersion; }
    // The window's settings manager also recomputes the schedule from LastTimeVersionChecked.
    virtual void SetFrequencyOfCheckingVersion(int32_t agValue) {
        settings_.FrequencyOfCheckingVersion = agValue;
    }

    bool IsVersionChecked() const { return settings_.IsVersionChecked; }
    double LastTimeVersionChecked() const { return settings_.LastTimeVersionChecked; }

    // A missing, foreign or other-version file, or a failure of the system while reading,
    // loads every default; a file cut short keeps the fields it holds whole. Load always
    // answers true.
    bool Load();
    // Writes a new file beside the old one and renames it over it, so a failed save keeps the
    // old settings. A link at FileAddressOfUtility stays a link: the file it leads to is
    // replaced, in that file's folder, and keeps its permissions. A file the user may not write
    // is left as it is and the save fails.
    bool Save();
    // Why the last Save failed, in the system's words; empty after a save that worked.
    const std::string& SaveFailureReason() const { return saveFailureReason_; }

    // agArguments is the command line after the program's name, as one text. When it is
    // exactly kUninstallSwitch (case-sensitive, nothing more), deletes the settings file at
    // FileAddressOfUtility, if there is one. Answers whether the switch was given; ouFailed
    // tells whether an existing file could not be deleted.
    bool RemoveSettingsForUninstall(const std::string& agArguments, bool& ouFailed) const;

protected:
    // A version check completed at agTime.
    void RecordVersionCheck(double agTime);

private:
    // Every stored setting, with its default.
    struct Settings {
        int32_t BasePositionX = 0;  // centred on the screen by ApplyDefaults
        int32_t BasePositionY = 0;
        bool ConfirmFileSize = true;
        bool ConfirmDividoraSize = true;
        int32_t TransmissionByteSize = 1048576;
        bool ClearCreatedFileWhenUncompleted = true;
        int32_t UpperCountToWarn = 100;
        int32_t HowToNameDividora = 3;
        int32_t HowToSeparate = 1;
        int32_t SeparateFileModeFileSizeUnit = 1048576;
        bool DialogToEstimateRestoring = true;
        int32_t WhenRestoringFailed = 0;
        bool CheckVersion = true;
        bool NoticeWhenVersionChecked = false;
        int32_t FrequencyOfCheckingVersion = kEveryWeek;
        bool IsVersionChecked = false;
        double LastTimeVersionChecked = tkvDateTime::kZeroDate;
    };

    Settings DefaultSettings() const;
    void ApplyDefaults();
    bool ReadSettingsFile(Settings& ioSettings) const;
    bool SaveTo(const std::string& agTarget);
    bool WriteSettingsFile(const std::string& agPath);

    std::string settingsFolder_;
    std::string fileAddressOfUtility_;
    std::string fileAddressOfHelp_;
    std::string fileAddressOfHowToAdd_;
    std::string fileAddressOfHowToUpdate_;
    Settings settings_;
    std::string saveFailureReason_;
    int32_t screenWidth_ = kMainWindowWidth;
    int32_t screenHeight_ = kMainWindowHeight;
};
