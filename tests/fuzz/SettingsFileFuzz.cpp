// Fuzz target: any bytes as the settings file "KPXUtil.dat". KPXUtilSettings loads it, saves it,
// loads the saved file again, and sets up the version check's schedule from it.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzInvariant.h"
#include "FuzzWorkFolder.h"
#include "KPXUISepaMng.h"
#include "KPXUtilFormat.h"
#include "KPXUtilSettings.h"
#include "tkvDateTime.h"
#include "tkvLittleEndian.h"

using FuzzInvariant::Require;

namespace {

// Every stored setting, in the order of the file.
struct StoredValues {
    int32_t BasePositionX = 0;
    int32_t BasePositionY = 0;
    bool ConfirmFileSize = false;
    bool ConfirmDividoraSize = false;
    int32_t TransmissionByteSize = 0;
    bool ClearCreatedFileWhenUncompleted = false;
    int32_t UpperCountToWarn = 0;
    int32_t HowToNameDividora = 0;
    int32_t HowToSeparate = 0;
    int32_t SeparateFileModeFileSizeUnit = 0;
    bool DialogToEstimateRestoring = false;
    int32_t WhenRestoringFailed = 0;
    bool CheckVersion = false;
    bool NoticeWhenVersionChecked = false;
    int32_t FrequencyOfCheckingVersion = 0;
    bool IsVersionChecked = false;
    double LastTimeVersionChecked = 0.0;

    // The date compares by its bits: a NaN read from a file must come back as that NaN.
    bool operator==(const StoredValues& agOther) const {
        return BasePositionX == agOther.BasePositionX && BasePositionY == agOther.BasePositionY &&
               ConfirmFileSize == agOther.ConfirmFileSize &&
               ConfirmDividoraSize == agOther.ConfirmDividoraSize &&
               TransmissionByteSize == agOther.TransmissionByteSize &&
               ClearCreatedFileWhenUncompleted == agOther.ClearCreatedFileWhenUncompleted &&
               UpperCountToWarn == agOther.UpperCountToWarn &&
               HowToNameDividora == agOther.HowToNameDividora &&
               HowToSeparate == agOther.HowToSeparate &&
               SeparateFileModeFileSizeUnit == agOther.SeparateFileModeFileSizeUnit &&
               DialogToEstimateRestoring == agOther.DialogToEstimateRestoring &&
               WhenRestoringFailed == agOther.WhenRestoringFailed &&
               CheckVersion == agOther.CheckVersion &&
               NoticeWhenVersionChecked == agOther.NoticeWhenVersionChecked &&
               FrequencyOfCheckingVersion == agOther.FrequencyOfCheckingVersion &&
               IsVersionChecked == agOther.IsVersionChecked &&
               std::memcmp(&LastTimeVersionChecked, &agOther.LastTimeVersionChecked,
                           sizeof LastTimeVersionChecked) == 0;
    }
};

StoredValues ValuesOf(const KPXUtilSettings& agMng) {
    StoredValues values;
    values.BasePositionX = agMng.BasePositionX();
    values.BasePositionY = agMng.BasePositionY();
    values.ConfirmFileSize = agMng.ConfirmFileSize();
    values.ConfirmDividoraSize = agMng.ConfirmDividoraSize();
    values.TransmissionByteSize = agMng.TransmissionByteSize();
    values.ClearCreatedFileWhenUncompleted = agMng.ClearCreatedFileWhenUncompleted();
    values.UpperCountToWarn = agMng.UpperCountToWarn();
    values.HowToNameDividora = agMng.HowToNameDividora();
    values.HowToSeparate = agMng.HowToSeparate();
    values.SeparateFileModeFileSizeUnit = agMng.SeparateFileModeFileSizeUnit();
    values.DialogToEstimateRestoring = agMng.DialogToEstimateRestoring();
    values.WhenRestoringFailed = agMng.WhenRestoringFailed();
    values.CheckVersion = agMng.CheckVersion();
    values.NoticeWhenVersionChecked = agMng.NoticeWhenVersionChecked();
    values.FrequencyOfCheckingVersion = agMng.FrequencyOfCheckingVersion();
    values.IsVersionChecked = agMng.IsVersionChecked();
    values.LastTimeVersionChecked = agMng.LastTimeVersionChecked();
    return values;
}

void AppendText(std::string& ioBytes, std::string_view agText) {
    unsigned char length[4];
    tkvLittleEndian::Encode(static_cast<int32_t>(agText.size()), length);
    ioBytes.append(reinterpret_cast<const char*>(length), sizeof length);
    ioBytes.append(agText);
}

std::string SettingsVersionBlock() {
    std::string block;
    AppendText(block, KPXUtilFormat::kProductName);
    AppendText(block, KPXUtilFormat::kProductComment);
    AppendText(block, KPXUtilFormat::kFileKind);
    unsigned char version[4];
    tkvLittleEndian::Encode(KPXUtilFormat::kFileVersion, version);
    block.append(reinterpret_cast<const char*>(version), sizeof version);
    return block;
}

// Reads the fields where the layout of KPXUtilFormat.h puts them, without the manager's
// reader. Where the bytes end, the field cut and all after it keep their values in agBase.
class FieldCursor {
public:
    FieldCursor(const std::string& agBytes, size_t agAt) : bytes_(agBytes), at_(agAt) {}

    void operator()(int32_t& ioValue) { Take<int32_t>(ioValue); }
    void operator()(bool& ioValue) {
        int16_t stored = 0;
        if (Take<int16_t>(stored)) {
            ioValue = stored != 0;
        }
    }
    void operator()(double& ioValue) { Take<double>(ioValue); }

private:
    template <typename T>
    bool Take(T& ioValue) {
        if (at_ + sizeof(T) > bytes_.size()) {
            at_ = bytes_.size();
            return false;
        }
        ioValue =
            tkvLittleEndian::Decode<T>(reinterpret_cast<const unsigned char*>(bytes_.data()) + at_);
        at_ += sizeof(T);
        return true;
    }

    const std::string& bytes_;
    size_t at_;
};

// The values of a file that starts with the settings file's version block; none for any other.
std::optional<StoredValues> LayOut(const std::string& agBytes, const StoredValues& agBase) {
    static const std::string versionBlock = SettingsVersionBlock();
    if (agBytes.compare(0, versionBlock.size(), versionBlock) != 0) {
        return std::nullopt;
    }
    StoredValues values = agBase;
    FieldCursor field(agBytes, versionBlock.size());
    field(values.BasePositionX);
    field(values.BasePositionY);
    field(values.ConfirmFileSize);
    field(values.ConfirmDividoraSize);
    field(values.TransmissionByteSize);
    field(values.ClearCreatedFileWhenUncompleted);
    field(values.UpperCountToWarn);
    field(values.HowToNameDividora);
    field(values.HowToSeparate);
    field(values.SeparateFileModeFileSizeUnit);
    field(values.DialogToEstimateRestoring);
    field(values.WhenRestoringFailed);
    field(values.CheckVersion);
    field(values.NoticeWhenVersionChecked);
    field(values.FrequencyOfCheckingVersion);
    field(values.IsVersionChecked);
    field(values.LastTimeVersionChecked);
    return values;
}

bool IsUsableTransmissionSize(int32_t agSize) {
    return agSize >= KPXUtilSettings::kLeastTransmissionByteSize &&
           agSize <= KPXUtilSettings::kMostTransmissionByteSize;
}

// The next check after agLast for a frequency, on the calendar; none for another frequency or
// past the calendar's end.
std::optional<double> NextCheckAfter(double agLast, int32_t agFrequency) {
    double next = 0.0;
    bool computed = false;
    switch (agFrequency) {
        case KPXUtilSettings::kEveryDay:
            computed = tkvDateTime::AddSeconds(agLast, 86400, next);
            break;
        case KPXUtilSettings::kEveryWeek:
            computed = tkvDateTime::AddSeconds(agLast, 7 * 86400, next);
            break;
        case KPXUtilSettings::kEveryMonth:
            computed = tkvDateTime::AddMonths(agLast, 1, next);
            break;
        default:
            break;
    }
    return computed ? std::optional<double>(next) : std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* agData, size_t agSize) {
    static const FuzzWorkFolder folder;
    const std::string program = folder.Path("program");
    static const StoredValues defaults = [&] {
        KPXUtilSettings fresh(program, folder.MakeEmptyFolder("no-settings"));
        fresh.Load();
        return ValuesOf(fresh);
    }();

    const std::string bytes(reinterpret_cast<const char*>(agData), agSize);
    const std::string settings = folder.MakeEmptyFolder("settings");
    const std::string file =
        folder.WriteFile("settings/" + std::string(KPXUtilFormat::kFileName), bytes);

    KPXUtilSettings loaded(program, settings);
    Require(loaded.Load(), "Load always answers true");
    const StoredValues values = ValuesOf(loaded);
    Require(IsUsableTransmissionSize(values.TransmissionByteSize),
            "a loaded TransmissionByteSize lies within 1 byte to 64 MiB");
    if (std::optional<StoredValues> stored = LayOut(bytes, defaults)) {
        if (!IsUsableTransmissionSize(stored->TransmissionByteSize)) {
            stored->TransmissionByteSize = defaults.TransmissionByteSize;
        }
        Require(values == *stored,
                "a settings file loads the fields it holds whole, the defaults for the rest");
    } else {
        Require(values == defaults, "bytes that are not a settings file load the defaults");
    }

    Require(loaded.Save(), "loaded settings can be saved");
    const std::string saved = FuzzWorkFolder::ReadFile(file);
    Require(saved.size() == static_cast<size_t>(KPXUtilFormat::kFileSize) &&
                LayOut(saved, defaults) == values,
            "the saved file holds exactly the loaded values");
    Require(FuzzWorkFolder::Entries(settings).size() == 1, "a save leaves no other file behind");
    KPXUtilSettings reloaded(program, settings);
    reloaded.Load();
    Require(ValuesOf(reloaded) == values, "settings saved and loaded again are the same values");
    Require(reloaded.Save() && FuzzWorkFolder::ReadFile(file) == saved,
            "saving the same values again writes the same bytes");

    // The window's manager sets the schedule up from the loaded values; there is no window to
    // show, so the start stops after that.
    KPXUISepaMng managed(program, settings);
    managed.StartManagement();
    if (const std::optional<double> next =
            NextCheckAfter(values.LastTimeVersionChecked, values.FrequencyOfCheckingVersion)) {
        const double scheduled = managed.NextTimeToCheckVersion();
        Require(std::memcmp(&scheduled, &*next, sizeof scheduled) == 0,
                "the next check is one day, week or month after the last one");
    }
    return 0;
}
