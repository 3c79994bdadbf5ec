#include "KPXUtilSettings.h"

#include <cmath>
#include <filesystem>

#include "DividoraAddresses.h"
#include "KPXUtilFormat.h"
#include "tkvFileError.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvProgramFolder.h"
#include "tkvTemporaryFile.h"
#include "tkvVerRWCtrl.h"

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

// Stops at the first field that is not whole: it and every field after it keep the values
// they had.
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

std::string HelpPath(std::string_view agFolder, std::initializer_list<std::string_view> agParts) {
    std::string path(agFolder);
    for (std::string_view part : agParts) {
        path = tkvFileString::JoinFolderAndName(path, part);
    }
    return path;
}

}  // namespace

KPXUtilSettings::KPXUtilSettings()
    : KPXUtilSettings(ProgramFolder(), SettingsFolderFor(ProgramFolder())) {}

KPXUtilSettings::KPXUtilSettings(std::string agApplicationFolder, std::string agSettingsFolder)
    : settingsFolder_(std::move(agSettingsFolder)),
      fileAddressOfUtility_(
          tkvFileString::JoinFolderAndName(settingsFolder_, KPXUtilFormat::kFileName)),
      fileAddressOfHelp_(HelpPath(agApplicationFolder, {"GuideKPX", "index.htm"})),
      fileAddressOfHowToAdd_(HelpPath(agApplicationFolder, {"GuideKPX", "howto", "howtoadd.htm"})),
      fileAddressOfHowToUpdate_(
          HelpPath(agApplicationFolder, {"GuideKPX", "howto", "howtoupdate.htm"})) {}

std::string KPXUtilSettings::ProgramFolder() { return tkvProgramFolder::ProgramFolder(); }

std::string KPXUtilSettings::SettingsFolderFor(const std::string& agProgramFolder) {
    if (tkvProgramFolder::IsWritableFolder(agProgramFolder)) {
        return agProgramFolder;
    }
    return tkvProgramFolder::UserConfigFolder("dividora");
}

void KPXUtilSettings::SetScreenSize(int32_t agWidth, int32_t agHeight) {
    screenWidth_ = agWidth;
    screenHeight_ = agHeight;
}

void KPXUtilSettings::RecordVersionCheck(double agTime) {
    settings_.IsVersionChecked = true;
    settings_.LastTimeVersionChecked = agTime;
}

std::string KPXUtilSettings::ProductName() const {
    return std::string(KPXUtilFormat::kProductName);
}

std::string KPXUtilSettings::ProductComment() const {
    return std::string(KPXUtilFormat::kProductComment);
}

std::string KPXUtilSettings::FileKindOfUtility() const {
    return std::string(KPXUtilFormat::kFileKind);
}

int32_t KPXUtilSettings::FileVersionOfUtility() const { return KPXUtilFormat::kFileVersion; }

std::string KPXUtilSettings::SiteAddressOfTKV() const { return DividoraAddresses::kHomeAddress; }

KPXUtilSettings::Settings KPXUtilSettings::DefaultSettings() const {
    Settings defaults;
    defaults.BasePositionX = CentredEdge(screenWidth_, kMainWindowWidth);
    defaults.BasePositionY = CentredEdge(screenHeight_, kMainWindowHeight);
    return defaults;
}

void KPXUtilSettings::ApplyDefaults() { settings_ = DefaultSettings(); }

bool KPXUtilSettings::Load() {
    Settings loaded = DefaultSettings();
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

bool KPXUtilSettings::ReadSettingsFile(Settings& ioSettings) const {
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
        // A file cut short (a full disk, a copy broken off) still holds the fields before the
        // cut as they were written: those are kept, the rest keep their defaults. A failure of
        // the system itself (tkvFileError) vouches for nothing read before it: every default.
        ForEachStoredField(ioSettings, FieldReader{file});
        return true;
    } catch (const tkvFileError&) {
        return false;
    }
}

bool KPXUtilSettings::Save() {
    saveFailureReason_.clear();
    std::error_code error;
    std::filesystem::create_directories(settingsFolder_, error);
    if (error) {
        saveFailureReason_ = error.message();
        return false;
    }
    // A user who keeps the settings file elsewhere and links to it (a dotfile) keeps the link:
    // the file it leads to is the one replaced.
    std::string target;
    if (!tkvFileString::FollowLinks(fileAddressOfUtility_, target, saveFailureReason_)) {
        return false;
    }
    return SaveTo(target);
}

bool KPXUtilSettings::SaveTo(const std::string& agTarget) {
    uint32_t permissions = 0;
    const bool replacing = tkvFileString::GetPermissions(agTarget, permissions);
    // The rename below could replace a file the user protected: it stays as it is.
    if (replacing && !tkvFileString::MayWriteFile(agTarget, saveFailureReason_)) {
        return false;
    }
    // Written beside the old file and renamed over it: a crash or a full disk while writing
    // must not cost the user the settings that were there. The old file's permissions pass to
    // the new one before it takes the name.
    std::string name;
    if (!tkvTemporaryFile::CreateUniqueFile(tkvFileString::FolderOf(agTarget),
                                            tkvFileString::GetFileNamePart(agTarget) + ".", "",
                                            name, saveFailureReason_)) {
        return false;
    }
    if (!WriteSettingsFile(name) ||
        (replacing && !tkvFileString::SetPermissions(name, permissions, saveFailureReason_)) ||
        !tkvFileString::RenameFile(name, agTarget, true, saveFailureReason_)) {
        tkvFileString::DeleteFile(name);
        return false;
    }
    return true;
}

bool KPXUtilSettings::WriteSettingsFile(const std::string& agPath) {
    tkvFileRWCtrl file;
    file.SetFileAddress(agPath);
    if (!file.OpenForBinary()) {
        saveFailureReason_ = file.OpenFailure();
        return false;
    }
    try {
        if (!SettingsVersionBlock(&file).Save()) {
            return false;
        }
        ForEachStoredField(settings_, FieldWriter{file});
        file.FinishWriting();
        return true;
    } catch (const tkvFileError& error) {
        saveFailureReason_ = error.SystemText();
        return false;
    }
}

bool KPXUtilSettings::RemoveSettingsForUninstall(const std::string& agArguments,
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
