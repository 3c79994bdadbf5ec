#include "KPXUISepaMng.h"

#include <pwd.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "DividoraAddresses.h"
#include "DividoraVersion.h"
#include "KPXUISepaMngWindows.h"
#include "KPXUtilFormat.h"
#include "tkvCheckVersion.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvTimeCycle.h"
#include "tkvVerRWCtrl.h"
#include "tkvWatchVersion.h"

namespace {

// The stored fields in the order of the file; reading and writing both walk this one list.
template <typename Settings, typename Visit>
void ForEachStoredField(Settings& agSettings, Visit&& agVisit) {
    agVisit(agSettings.BasePositionX);
    agVisit(agSettings.BasePositionY);
    agVisit(agSettings.ConfirmFileSize);
    agVisit(agSettings.ConfirmDividoraSize);
    agVisit(agSettings.TransmissionByteSize);
    agVisit(agSettings.ClearCreatedFileWhenUncompleted);
    agVisit(agSettings.UpperCountToWarn);
    agVisit(agSettings.HowToNameDividora);
    agVisit(agSettings.HowToSeparate);
    agVisit(agSettings.SeparateFileModeFileSizeUnit);
    agVisit(agSettings.DialogToEstimateRestoring);
    agVisit(agSettings.WhenRestoringFailed);
    agVisit(agSettings.CheckVersion);
    agVisit(agSettings.NoticeWhenVersionChecked);
    agVisit(agSettings.FrequencyOfCheckingVersion);
    agVisit(agSettings.IsVersionChecked);
    agVisit(agSettings.LastTimeVersionChecked);  // the one date
}

struct FieldReader {
    tkvFileRWCtrl& File;
    bool Complete = true;

    void operator()(int32_t& ouValue) { Complete = Complete && File.GetLong(ouValue); }
    void operator()(bool& ouValue) { Complete = Complete && File.GetBoolean(ouValue); }
    void operator()(double& ouValue) { Complete = Complete && File.GetDate(ouValue); }
};

struct FieldWriter {
    tkvFileRWCtrl& File;

    void operator()(int32_t agValue) { File.SetLong(agValue); }
    void operator()(bool agValue) { File.SetBoolean(agValue); }
    void operator()(double agValue) { File.SetDate(agValue); }
};

tkvVerRWCtrl SettingsVersionBlock(tkvFileRWCtrl* agFile) {
    return tkvVerRWCtrl(agFile, KPXUtilFormat::kProductName, KPXUtilFormat::kProductComment,
                        KPXUtilFormat::kFileKind, KPXUtilFormat::kFileVersion);
}

// (agScreen - agWindow) / 2, a half rounded to the even neighbour.
int32_t CentredEdge(int32_t agScreen, int32_t agWindow) {
    return static_cast<int32_t>(std::nearbyint((static_cast<double>(agScreen) - agWindow) / 2.0));
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home == '/') {
        return home;
    }
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
        return found->pw_dir;
    }
    return "/";
}

std::string HelpPath(std::string_view agFolder, std::initializer_list<std::string_view> agParts) {
    std::string path(agFolder);
    for (std::string_view part : agParts) {
        path = tkvFileString::JoinFolderAndName(path, part);
    }
    return path;
}

}  // namespace

KPXUISepaMng::KPXUISepaMng() : KPXUISepaMng(ProgramFolder(), SettingsFolderFor(ProgramFolder())) {}

KPXUISepaMng::KPXUISepaMng(std::string agApplicationFolder, std::string agSettingsFolder)
    : settingsFolder_(std::move(agSettingsFolder)),
      fileAddressOfUtility_(
          tkvFileString::JoinFolderAndName(settingsFolder_, KPXUtilFormat::kFileName)),
      fileAddressOfHelp_(HelpPath(agApplicationFolder, {"GuideKPX", "index.htm"})),
      fileAddressOfHowToAdd_(HelpPath(agApplicationFolder, {"GuideKPX", "howto", "howtoadd.htm"})),
      fileAddressOfHowToUpdate_(
          HelpPath(agApplicationFolder, {"GuideKPX", "howto", "howtoupdate.htm"})) {}

KPXUISepaMng::~KPXUISepaMng() {
    // The main window may still hold the watch: it must not call back into this object.
    if (lcWatchVersion) {
        lcWatchVersion->RemoveEvents(this);
    }
}

std::string KPXUISepaMng::ProgramFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        return program.parent_path().string();
    }
    return std::filesystem::current_path(error).string();
}

std::string KPXUISepaMng::SettingsFolderFor(const std::string& agProgramFolder) {
    if (tkvFileString::GetPathKind(agProgramFolder) == tkvFileString::kFolder &&
        ::access(agProgramFolder.c_str(), W_OK) == 0) {
        return agProgramFolder;
    }
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    // XDG asks to ignore a relative value.
    const std::string base = configHome != nullptr && *configHome == '/'
                                 ? std::string(configHome)
                                 : tkvFileString::JoinFolderAndName(HomeFolder(), ".config");
    return tkvFileString::JoinFolderAndName(base, "dividora");
}

std::string KPXUISepaMng::ProductName() const { return std::string(KPXUtilFormat::kProductName); }

std::string KPXUISepaMng::ProductComment() const {
    return std::string(KPXUtilFormat::kProductComment);
}

std::string KPXUISepaMng::FileKindOfUtility() const {
    return std::string(KPXUtilFormat::kFileKind);
}

int32_t KPXUISepaMng::FileVersionOfUtility() const { return KPXUtilFormat::kFileVersion; }

std::string KPXUISepaMng::SiteAddressOfTKV() const { return DividoraAddresses::kHomeAddress; }

void KPXUISepaMng::SetCheckVersion(bool agValue) {
    settings_.CheckVersion = agValue;
    if (lcWatchVersion) {
        lcWatchVersion->SetEnabled(agValue);
    }
}

void KPXUISepaMng::SetFrequencyOfCheckingVersion(int32_t agValue) {
    settings_.FrequencyOfCheckingVersion = agValue;
    const std::shared_ptr<tkvTimeCycle> cycle =
        lcWatchVersion ? lcWatchVersion->Frequency() : nullptr;
    if (!cycle) {
        return;  // computed when the watch is set up
    }
    switch (agValue) {
        case kEveryDay:
            cycle->SetDayToAdd(1);
            cycle->SetMonthToAdd(0);
            break;
        case kEveryWeek:
            cycle->SetDayToAdd(7);
            cycle->SetMonthToAdd(0);
            break;
        case kEveryMonth:
            cycle->SetDayToAdd(0);
            cycle->SetMonthToAdd(1);
            break;
        default:
            break;
    }
    cycle->SetCycleCount(1);
    cycle->SetBaseTime(settings_.LastTimeVersionChecked);
    if (cycle->GetTimeAfterCycle()) {
        nextTimeToCheckVersion_ = cycle->CalculatedTime();
        lcWatchVersion->SetNextTimeToCheck(nextTimeToCheckVersion_);
    }
}

bool KPXUISepaMng::StartManagement() {
    if (!Load()) {
        return false;
    }
    SetUpWatch();
    return windows_ != nullptr && windows_->ShowMainWindow(shared_from_this());
}

bool KPXUISepaMng::EndManagement() {
    if (!Save()) {
        return false;
    }
    if (windows_ != nullptr) {
        windows_->UnloadMainWindow();
    }
    return true;
}

void KPXUISepaMng::SetUpWatch() {
    auto cycle = std::make_shared<tkvTimeCycle>();
    cycle->SetCycleMode(tkvTimeCycle::kAddAmounts);

    auto check = std::make_shared<tkvCheckVersion>();
    check->SetAddress(DividoraAddresses::kVersionAddress);
    check->SetClientProductName(ProductName());
    check->SetClientMajor(DividoraVersion::kMajor);
    check->SetClientMinor(DividoraVersion::kMinor);
    check->SetClientRevision(DividoraVersion::kRevision);

    if (lcWatchVersion) {
        lcWatchVersion->RemoveEvents(this);
    }
    lcWatchVersion = std::make_shared<tkvWatchVersion>();
    lcWatchVersion->AddEvents(this);
    lcWatchVersion->SetFrequency(cycle);
    SetFrequencyOfCheckingVersion(settings_.FrequencyOfCheckingVersion);
    lcWatchVersion->SetCheckingControl(check);
}

void KPXUISepaMng::lcWatchVersion_VersionChecked() {
    settings_.IsVersionChecked = true;
    if (const std::shared_ptr<tkvTimeCycle> cycle = lcWatchVersion->Frequency()) {
        settings_.LastTimeVersionChecked = cycle->BaseTime();  // the time of this check
    }
    nextTimeToCheckVersion_ = lcWatchVersion->NextTimeToCheck();
    if (windows_ == nullptr) {
        return;
    }
    const std::shared_ptr<tkvCheckVersion> check = lcWatchVersion->CheckingControl();
    if (check && check->IsUpDated()) {
        windows_->ShowRenewableNotice();
    } else if (settings_.NoticeWhenVersionChecked) {
        windows_->ShowCheckedNotice();
    }
}

void KPXUISepaMng::ApplyDefaults() {
    settings_ = Settings{};
    const int32_t screenWidth = windows_ != nullptr ? windows_->ScreenWidth() : kMainWindowWidth;
    const int32_t screenHeight = windows_ != nullptr ? windows_->ScreenHeight() : kMainWindowHeight;
    settings_.BasePositionX = CentredEdge(screenWidth, kMainWindowWidth);
    settings_.BasePositionY = CentredEdge(screenHeight, kMainWindowHeight);
}

bool KPXUISepaMng::Load() {
    Settings loaded;
    if (!ReadSettingsFile(loaded)) {
        ApplyDefaults();
        return true;
    }
    // A transfer size of 0 stops every copy, and a huge one asks for gigabytes of memory.
    if (loaded.TransmissionByteSize < kLeastTransmissionByteSize ||
        loaded.TransmissionByteSize > kMostTransmissionByteSize) {
        loaded.TransmissionByteSize = Settings{}.TransmissionByteSize;
    }
    settings_ = loaded;
    return true;
}

bool KPXUISepaMng::ReadSettingsFile(Settings& ouSettings) const {
    // Only read: a missing file stays missing instead of being created empty.
    tkvFileRWCtrl file;
    file.SetFileAddress(fileAddressOfUtility_);
    file.SetFileAccess(tkvFileRWCtrl::kReadOnly);
    if (!file.OpenForBinary()) {
        return false;
    }
    try {
        if (SettingsVersionBlock(&file).Check() != tkvVerRWCtrl::kSame) {
            return false;
        }
        FieldReader reader{file};
        ForEachStoredField(ouSettings, reader);
        return reader.Complete;
    } catch (const tkvFileError&) {
        return false;
    }
}

bool KPXUISepaMng::Save() {
    std::error_code error;
    std::filesystem::create_directories(settingsFolder_, error);
    if (error) {
        return false;
    }
    // Written beside the old file and renamed over it: a crash or a full disk while writing
    // must not cost the user the settings that were there.
    std::string name = fileAddressOfUtility_ + ".XXXXXX";
    const int descriptor = ::mkstemp(name.data());
    if (descriptor == -1) {
        return false;
    }
    ::close(descriptor);
    if (!WriteSettingsFile(name) || ::rename(name.c_str(), fileAddressOfUtility_.c_str()) != 0) {
        tkvFileString::DeleteFile(name);
        return false;
    }
    return true;
}

bool KPXUISepaMng::WriteSettingsFile(const std::string& agPath) const {
    tkvFileRWCtrl file;
    file.SetFileAddress(agPath);
    if (!file.OpenForBinary()) {
        return false;
    }
    try {
        if (!SettingsVersionBlock(&file).Save()) {
            return false;
        }
        ForEachStoredField(settings_, FieldWriter{file});
        return ::fsync(file.FileNum()) == 0;
    } catch (const tkvFileError&) {
        return false;
    }
}

bool KPXUISepaMng::RemoveSettingsForUninstall(const std::string& agArguments,
                                              bool& ouFailed) const {
    ouFailed = false;
    if (agArguments != kUninstallSwitch) {
        return false;
    }
    // An ordinary delete: a file the user protected stays, and that is reported.
    if (tkvFileString::GetPathKind(fileAddressOfUtility_) == tkvFileString::kFile &&
        !tkvFileString::DeleteFile(fileAddressOfUtility_)) {
        ouFailed = true;
    }
    return true;
}
