#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "DividoraVersion.h"
#include "KPXUISepaMng.h"
#include "KPXUISepaMngWindows.h"
#include "KPXUtilFormat.h"
#include "LocalHttpServer.h"
#include "ManualTimerBackend.h"
#include "QueuedBackgroundWork.h"
#include "ScopedMount.h"
#include "TestFiles.h"
#include "VersionFiles.h"
#include "tkvCallBackForTimerCtrl.h"
#include "tkvCheckVersion.h"
#include "tkvDateTime.h"
#include "tkvFileString.h"
#include "tkvWatchVersion.h"

namespace {
// From this offset on, every read of a file fails as on a failing device; none below 0.
int64_t failReadsFrom = -1;
}  // namespace

// The executable is linked with --wrap=pread: every read of a file comes here first.
extern "C" ssize_t __real_pread(int agFd, void* ouBuffer, size_t agLength, off_t agOffset);
extern "C" ssize_t __wrap_pread(int agFd, void* ouBuffer, size_t agLength, off_t agOffset) {
    if (failReadsFrom >= 0 && agOffset + static_cast<off_t>(agLength) > failReadsFrom) {
        errno = EIO;
        return -1;
    }
    return __real_pread(agFd, ouBuffer, agLength, agOffset);
}

namespace {

// A screen of 1920 by 1080 pixels at 15 twips each.
class TestWindows : public KPXUISepaMngWindows {
public:
    int32_t ScreenWidth() const override { return 28800; }
    int32_t ScreenHeight() const override { return 16200; }
    bool ShowMainWindow(std::shared_ptr<KPXUISepaMng> agSepaMng) override {
        SepaMng = std::move(agSepaMng);
        Shown = CanShow;
        return CanShow;
    }
    void UnloadMainWindow() override {
        SepaMng.reset();
        Shown = false;
        ++Unloads;
    }
    void ShowRenewableNotice() override { ++Renewable; }
    void ShowCheckedNotice() override { ++Checked; }

    bool CanShow = true;
    std::shared_ptr<KPXUISepaMng> SepaMng;
    bool Shown = false;
    int Unloads = 0;
    int Renewable = 0;
    int Checked = 0;
};

// Every stored setting as one text, so two managers compare in one line.
std::string Describe(const KPXUISepaMng& agMng) {
    std::ostringstream text;
    text << "X=" << agMng.BasePositionX() << " Y=" << agMng.BasePositionY()
         << " ConfirmFileSize=" << agMng.ConfirmFileSize()
         << " ConfirmDividoraSize=" << agMng.ConfirmDividoraSize()
         << " TransmissionByteSize=" << agMng.TransmissionByteSize()
         << " Clear=" << agMng.ClearCreatedFileWhenUncompleted()
         << " UpperCountToWarn=" << agMng.UpperCountToWarn()
         << " HowToNameDividora=" << agMng.HowToNameDividora()
         << " HowToSeparate=" << agMng.HowToSeparate()
         << " Unit=" << agMng.SeparateFileModeFileSizeUnit()
         << " Dialog=" << agMng.DialogToEstimateRestoring()
         << " WhenRestoringFailed=" << agMng.WhenRestoringFailed()
         << " CheckVersion=" << agMng.CheckVersion()
         << " Notice=" << agMng.NoticeWhenVersionChecked()
         << " Frequency=" << agMng.FrequencyOfCheckingVersion()
         << " IsVersionChecked=" << agMng.IsVersionChecked()
         << " Last=" << tkvDateTime::GeneralDateText(agMng.LastTimeVersionChecked());
    return text.str();
}

std::string BooleanBytes(bool agValue) { return agValue ? "\xFF\xFF" : std::string(2, '\0'); }

uint32_t PermissionsOf(const std::string& agPath) {
    struct stat info {};
    return ::stat(agPath.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

std::string LinkText(const std::string& agPath) {
    char text[4096];
    const ssize_t length = ::readlink(agPath.c_str(), text, sizeof text);
    return length < 0 ? std::string() : std::string(text, static_cast<size_t>(length));
}

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* agName, const std::optional<std::string>& agValue)
        : name_(agName) {
        if (const char* old = std::getenv(agName)) {
            old_ = old;
        }
        Set(agValue);
    }
    ~ScopedEnvironment() { Set(old_); }

private:
    void Set(const std::optional<std::string>& agValue) {
        if (agValue) {
            ::setenv(name_, agValue->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    const char* name_;
    std::optional<std::string> old_;
};

class KPXUISepaMngTest : public ::testing::Test {
protected:
    void TearDown() override {
        tkvCallBackForTimerCtrl::SetTimerBackend(nullptr);
        failReadsFrom = -1;
    }

    std::shared_ptr<KPXUISepaMng> NewMng(const std::string& agSettingsFolder = {}) {
        auto mng = std::make_shared<KPXUISepaMng>(
            folder_.Path(), agSettingsFolder.empty() ? folder_.Path() : agSettingsFolder);
        mng->SetWindows(&windows_);
        return mng;
    }
    // A manager that loaded the file there is now.
    std::shared_ptr<KPXUISepaMng> Loaded() {
        auto mng = NewMng();
        mng->Load();
        return mng;
    }
    std::string SettingsPath() const { return folder_.Path("KPXUtil.dat"); }
    // Runs a completed check at agNow against a server announcing agVersion.
    void CheckAt(KPXUISepaMng& agMng, double agNow, const VersionFile& agVersion) {
        server_.ServeBody(agVersion.Bytes());
        agMng.WatchingControl()->CheckingControl()->SetAddress(server_.Url());
        agMng.WatchingControl()->SetClock([agNow] { return agNow; });
        ASSERT_TRUE(agMng.WatchingControl()->Check(true));
    }
    // The bytes of a settings file that holds other values than the defaults everywhere.
    std::string OtherValuesFile() {
        auto mng = NewMng();
        EXPECT_TRUE(mng->StartManagement());
        mng->SetBasePositionX(-15);
        mng->SetBasePositionY(300);
        mng->SetConfirmFileSize(false);
        mng->SetConfirmDividoraSize(false);
        mng->SetTransmissionByteSize(16384);
        mng->SetClearCreatedFileWhenUncompleted(false);
        mng->SetUpperCountToWarn(2000);
        mng->SetHowToNameDividora(1);
        mng->SetHowToSeparate(2);
        mng->SetSeparateFileModeFileSizeUnit(1024);
        mng->SetDialogToEstimateRestoring(false);
        mng->SetWhenRestoringFailed(1);
        mng->SetCheckVersion(false);
        mng->SetNoticeWhenVersionChecked(true);
        mng->SetFrequencyOfCheckingVersion(3);
        CheckAt(*mng, DateOf(2024, 5, 10, 9, 30, 15), VersionFile());
        EXPECT_TRUE(mng->Save());
        windows_.SepaMng.reset();
        return ReadAllBytes(SettingsPath());
    }

    TempFolder folder_;
    LocalHttpServer server_;
    TestWindows windows_;
};

TEST_F(KPXUISepaMngTest, AFirstStartHasEveryDefaultAndShowsTheWindow) {
    auto mng = NewMng();
    ASSERT_TRUE(mng->StartManagement());
    EXPECT_EQ(windows_.SepaMng, mng);
    EXPECT_TRUE(windows_.Shown);
    EXPECT_EQ(Describe(*mng),
              "X=10988 Y=5242 ConfirmFileSize=1 ConfirmDividoraSize=1 "
              "TransmissionByteSize=1048576 Clear=1 UpperCountToWarn=100 HowToNameDividora=3 "
              "HowToSeparate=1 Unit=1048576 Dialog=1 WhenRestoringFailed=0 CheckVersion=1 "
              "Notice=0 Frequency=2 IsVersionChecked=0 Last=1899/12/30")
        << "the position centres 6825 by 5715 twips, halves to the even neighbour";
    EXPECT_EQ(mng->NextTimeToCheckVersion(), 7.0) << "a week after the zero date: due at once";
    EXPECT_EQ(tkvFileString::GetPathKind(SettingsPath()), tkvFileString::kMissing)
        << "loading creates no file";

    const auto watch = mng->WatchingControl();
    ASSERT_TRUE(watch);
    EXPECT_FALSE(watch->Enabled());
    EXPECT_EQ(watch->NextTimeToCheck(), 7.0);
    const auto check = watch->CheckingControl();
    ASSERT_TRUE(check);
    EXPECT_TRUE(check->Address().ends_with("/version/Dividora/version.txt"));
    EXPECT_EQ(check->ClientProductName(), "Tarno.K.V. Dividora");
    EXPECT_EQ(check->ClientMajor(), DividoraVersion::kMajor);
    EXPECT_EQ(check->ClientMinor(), DividoraVersion::kMinor);
    EXPECT_EQ(check->ClientRevision(), DividoraVersion::kRevision);
    windows_.SepaMng.reset();
}

TEST_F(KPXUISepaMngTest, TheDefaultFileFieldByField) {
    auto mng = Loaded();
    ASSERT_TRUE(mng->Save());
    const std::string bytes = ReadAllBytes(SettingsPath());
    ASSERT_EQ(bytes.size(), 167u);
    EXPECT_EQ(bytes.substr(0, 109), LongBytes(19) + "Tarno.K.V. Dividora" + LongBytes(23) +
                                        "Tarno.K.V. Soft by R.N." + LongBytes(51) +
                                        "Tarno.K.V. File for Utility of Dividora Application" +
                                        LongBytes(8));
    const struct {
        const char* Field;
        std::string Bytes;
    } fields[] = {
        {"BasePositionX", LongBytes(10988)},
        {"BasePositionY", LongBytes(5242)},
        {"ConfirmFileSize", BooleanBytes(true)},
        {"ConfirmDividoraSize", BooleanBytes(true)},
        {"TransmissionByteSize", LongBytes(1048576)},
        {"ClearCreatedFileWhenUncompleted", BooleanBytes(true)},
        {"UpperCountToWarn", LongBytes(100)},
        {"HowToNameDividora", LongBytes(3)},
        {"HowToSeparate", LongBytes(1)},
        {"SeparateFileModeFileSizeUnit", LongBytes(1048576)},
        {"DialogToEstimateRestoring", BooleanBytes(true)},
        {"WhenRestoringFailed", LongBytes(0)},
        {"CheckVersion", BooleanBytes(true)},
        {"NoticeWhenVersionChecked", BooleanBytes(false)},
        {"FrequencyOfCheckingVersion", LongBytes(2)},
        {"IsVersionChecked", BooleanBytes(false)},
        {"LastTimeVersionChecked", DateBytes(0.0)},
    };
    size_t offset = 109;
    for (const auto& field : fields) {
        EXPECT_EQ(bytes.substr(offset, field.Bytes.size()), field.Bytes)
            << field.Field << " at offset " << offset;
        offset += field.Bytes.size();
    }
    EXPECT_EQ(offset, bytes.size());
}

TEST_F(KPXUISepaMngTest, SaveThenLoadGivesEveryValueBack) {
    const std::string bytes = OtherValuesFile();
    auto loaded = Loaded();
    EXPECT_EQ(Describe(*loaded),
              "X=-15 Y=300 ConfirmFileSize=0 ConfirmDividoraSize=0 TransmissionByteSize=16384 "
              "Clear=0 UpperCountToWarn=2000 HowToNameDividora=1 HowToSeparate=2 Unit=1024 "
              "Dialog=0 WhenRestoringFailed=1 CheckVersion=0 Notice=1 Frequency=3 "
              "IsVersionChecked=1 Last=2024/05/10 9:30:15");
    ASSERT_TRUE(loaded->StartManagement());
    EXPECT_EQ(loaded->NextTimeToCheckVersion(), DateOf(2024, 6, 10, 9, 30, 15))
        << "recomputed: a month after the last check";
    ASSERT_TRUE(loaded->Save());
    EXPECT_EQ(ReadAllBytes(SettingsPath()), bytes);
    windows_.SepaMng.reset();
}

TEST_F(KPXUISepaMngTest, AForeignDamagedOrEmptyFileLoadsEveryDefault) {
    const std::string defaults = Describe(*Loaded());
    const std::string bytes = OtherValuesFile();
    const size_t versionAt = KPXUtilFormat::kVersionBlockSize - 4;
    const std::string damaged[] = {
        Patched(bytes, versionAt, LongBytes(7)),
        Patched(bytes, versionAt, LongBytes(9)),
        Patched(bytes, 60, "X"),  // inside the file kind
        Patched(bytes, 0, LongBytes(65)),
    };
    for (const std::string& file : damaged) {
        WriteAllBytes(SettingsPath(), file);
        EXPECT_EQ(Describe(*Loaded()), defaults);
    }
    for (size_t length = 0; length < KPXUtilFormat::kVersionBlockSize; ++length) {
        WriteAllBytes(SettingsPath(), bytes.substr(0, length));
        ASSERT_EQ(Describe(*Loaded()), defaults) << "cut short at " << length;
    }
    std::filesystem::remove(SettingsPath());
    std::filesystem::create_directory(SettingsPath());
    EXPECT_EQ(Describe(*Loaded()), defaults) << "a folder in the file's place";
}

TEST_F(KPXUISepaMngTest, AFileCutShortKeepsTheFieldsItHoldsWhole) {
    ASSERT_TRUE(Loaded()->Save());
    const std::string defaults = ReadAllBytes(SettingsPath());
    const std::string bytes = OtherValuesFile();
    const struct {
        size_t Length;
        size_t WholeTo;  // where the last field the cut file holds whole ends
    } cuts[] = {
        {109, 109},  // the version block alone
        {111, 109},  // half of BasePositionX
        {113, 113},  // BasePositionX
        {140, 139},  // nine fields and a byte of SeparateFileModeFileSizeUnit
        {158, 157},  // half of IsVersionChecked
        {166, 159},  // all but the last byte of LastTimeVersionChecked
    };
    for (const auto& cut : cuts) {
        WriteAllBytes(SettingsPath(), bytes.substr(0, cut.Length));
        ASSERT_TRUE(Loaded()->Save());
        EXPECT_EQ(ReadAllBytes(SettingsPath()),
                  bytes.substr(0, cut.WholeTo) + defaults.substr(cut.WholeTo))
            << "cut at " << cut.Length;
    }
}

TEST_F(KPXUISepaMngTest, AReadThatFailsInTheFieldsLoadsEveryDefault) {
    const std::string defaults = Describe(*Loaded());
    OtherValuesFile();
    failReadsFrom = 140;
    EXPECT_EQ(Describe(*Loaded()), defaults);
}

TEST_F(KPXUISepaMngTest, ATransmissionByteSizeOutsideOneByteTo64MiBLoadsItsDefault) {
    const std::string bytes = OtherValuesFile();
    const size_t at = 109 + 4 + 4 + 2 + 2;
    for (int32_t size : {0, -1, 64 * 1024 * 1024 + 1}) {
        WriteAllBytes(SettingsPath(), Patched(bytes, at, LongBytes(size)));
        auto mng = Loaded();
        EXPECT_EQ(mng->TransmissionByteSize(), 1048576) << size;
        EXPECT_EQ(mng->UpperCountToWarn(), 2000) << "the other fields stay";
    }
    for (int32_t size : {1, 64 * 1024 * 1024}) {
        WriteAllBytes(SettingsPath(), Patched(bytes, at, LongBytes(size)));
        EXPECT_EQ(Loaded()->TransmissionByteSize(), size);
    }
}

TEST_F(KPXUISepaMngTest, ANewFrequencyCountsFromTheLastCheckWithTheMonthEndRule) {
    const std::string bytes = OtherValuesFile();
    WriteAllBytes(SettingsPath(),
                  Patched(bytes, bytes.size() - 8, DateBytes(DateOf(2024, 1, 31, 10))));
    auto mng = NewMng();
    ASSERT_TRUE(mng->StartManagement());
    mng->SetFrequencyOfCheckingVersion(3);
    EXPECT_EQ(mng->NextTimeToCheckVersion(), DateOf(2024, 2, 29, 10));
    EXPECT_EQ(mng->WatchingControl()->NextTimeToCheck(), DateOf(2024, 2, 29, 10));
    mng->SetFrequencyOfCheckingVersion(1);
    EXPECT_EQ(mng->NextTimeToCheckVersion(), DateOf(2024, 2, 1, 10));
    mng->SetFrequencyOfCheckingVersion(2);
    EXPECT_EQ(mng->NextTimeToCheckVersion(), DateOf(2024, 2, 7, 10));
    mng->SetFrequencyOfCheckingVersion(9);
    EXPECT_EQ(mng->FrequencyOfCheckingVersion(), 9);
    EXPECT_EQ(mng->NextTimeToCheckVersion(), DateOf(2024, 2, 7, 10)) << "the cycle is unchanged";
    windows_.SepaMng.reset();
}

TEST_F(KPXUISepaMngTest, ASaveReplacesTheOldFileAndLeavesNothingElse) {
    auto mng = Loaded();
    ASSERT_TRUE(mng->Save());
    const std::string first = ReadAllBytes(SettingsPath());
    ASSERT_EQ(::link(SettingsPath().c_str(), folder_.Path("old").c_str()), 0);
    mng->SetUpperCountToWarn(5);
    ASSERT_TRUE(mng->Save());
    EXPECT_EQ(ReadAllBytes(folder_.Path("old")), first) << "renamed over, not written into";
    EXPECT_EQ(Loaded()->UpperCountToWarn(), 5);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.Path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"KPXUtil.dat", "old"}));
}

TEST_F(KPXUISepaMngTest, ASaveCutShortByAFullDiskKeepsTheOldFile) {
    auto mng = Loaded();
    ASSERT_TRUE(mng->Save());
    const std::string old = ReadAllBytes(SettingsPath());
    mng->SetUpperCountToWarn(5);
    {
        ScopedFileSizeLimit full(100);
        EXPECT_FALSE(mng->Save());
    }
    EXPECT_EQ(ReadAllBytes(SettingsPath()), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "the half-written file is gone";
}

TEST_F(KPXUISepaMngTest, ASaveKeepsTheFilesPermissions) {
    auto mng = Loaded();
    ASSERT_TRUE(mng->Save());
    ASSERT_EQ(::chmod(SettingsPath().c_str(), 0640), 0);
    ASSERT_TRUE(mng->Save());
    EXPECT_EQ(PermissionsOf(SettingsPath()), 0640u);
}

TEST_F(KPXUISepaMngTest, ASaveWritesThroughAChainOfLinksAndLeavesThemLinks) {
    // The target on a file system of its own where one can be mounted (the folder is made
    // either way): a file written anywhere but in the target's folder cannot be renamed onto it.
    const ScopedMount dotfiles(folder_.Path("dotfiles"), 1024 * 1024);
    const std::string target = folder_.Path("dotfiles/dividora.dat");
    WriteAllBytes(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0644), 0);
    ASSERT_EQ(::symlink(target.c_str(), folder_.Path("middle").c_str()), 0);
    ASSERT_EQ(::symlink("middle", SettingsPath().c_str()), 0);

    auto mng = Loaded();
    mng->SetUpperCountToWarn(5);
    ASSERT_TRUE(mng->Save()) << mng->SaveFailureReason();
    EXPECT_EQ(LinkText(SettingsPath()), "middle");
    EXPECT_EQ(LinkText(folder_.Path("middle")), target);
    EXPECT_EQ(PermissionsOf(target), 0644u);
    EXPECT_EQ(FolderEntries(folder_.Path("dotfiles")), std::vector<std::string>{"dividora.dat"});
    EXPECT_EQ(Loaded()->UpperCountToWarn(), 5);
}

TEST_F(KPXUISepaMngTest, ABrokenLinkGetsItsTargetOnlyWhereItsFolderExists) {
    ASSERT_EQ(::symlink("missing/new.dat", SettingsPath().c_str()), 0);
    auto mng = Loaded();
    EXPECT_FALSE(mng->Save());
    EXPECT_EQ(mng->SaveFailureReason(), std::strerror(ENOENT));
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"KPXUtil.dat"});

    ASSERT_EQ(::mkdir(folder_.Path("missing").c_str(), 0755), 0);
    ASSERT_TRUE(mng->Save());
    EXPECT_EQ(LinkText(SettingsPath()), "missing/new.dat");
    EXPECT_EQ(ReadAllBytes(folder_.Path("missing/new.dat")).size(), 167u);
}

TEST_F(KPXUISepaMngTest, AReadOnlyFileIsLeftAloneAndTheSaveFails) {
    auto mng = Loaded();
    ASSERT_TRUE(mng->Save());
    const std::string old = ReadAllBytes(SettingsPath());
    ASSERT_EQ(::chmod(SettingsPath().c_str(), 0444), 0);
    mng->SetUpperCountToWarn(5);
    EXPECT_FALSE(mng->Save());
    EXPECT_EQ(mng->SaveFailureReason(), std::strerror(EACCES));
    EXPECT_EQ(ReadAllBytes(SettingsPath()), old);
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"KPXUtil.dat"});
}

TEST_F(KPXUISepaMngTest, AFolderAtThePathFailsTheSaveAndStays) {
    ASSERT_EQ(::mkdir(SettingsPath().c_str(), 0755), 0);
    auto mng = Loaded();
    EXPECT_FALSE(mng->Save());
    EXPECT_EQ(mng->SaveFailureReason(), std::strerror(EISDIR));
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"KPXUtil.dat"});
    EXPECT_EQ(tkvFileString::GetPathKind(SettingsPath()), tkvFileString::kFolder);
}

TEST_F(KPXUISepaMngTest, EndManagementSavesThenLetsTheWindowGo) {
    auto mng = NewMng();
    ASSERT_TRUE(mng->StartManagement());
    mng->SetHowToSeparate(2);
    ASSERT_TRUE(mng->EndManagement());
    EXPECT_EQ(windows_.Unloads, 1);
    EXPECT_FALSE(windows_.SepaMng);
    EXPECT_EQ(Loaded()->HowToSeparate(), 2);
}

TEST_F(KPXUISepaMngTest, AFailedSaveAnswersFalseAndLeavesTheWindowAlone) {
    WriteAllBytes(folder_.Path("blocker"), "a file where the settings folder should be");
    auto mng = NewMng(folder_.Path("blocker"));
    ASSERT_TRUE(mng->StartManagement()) << "an unreadable file loads the defaults";
    EXPECT_FALSE(mng->EndManagement());
    EXPECT_EQ(windows_.SepaMng, mng);
    EXPECT_TRUE(windows_.Shown);
    EXPECT_EQ(windows_.Unloads, 0);
    windows_.SepaMng.reset();
}

TEST_F(KPXUISepaMngTest, StartManagementNeedsAWindowThatShows) {
    auto alone = std::make_shared<KPXUISepaMng>(folder_.Path(), folder_.Path());
    EXPECT_FALSE(alone->StartManagement());
    windows_.CanShow = false;
    EXPECT_FALSE(NewMng()->StartManagement());
    windows_.SepaMng.reset();
}

TEST_F(KPXUISepaMngTest, ACompletedCheckIsStoredAndAnnounced) {
    auto mng = NewMng();
    ASSERT_TRUE(mng->StartManagement());
    const double now = DateOf(2024, 5, 10, 9);
    VersionFile newer;
    newer.Major = DividoraVersion::kMajor + 1;
    CheckAt(*mng, now, newer);
    EXPECT_TRUE(mng->IsVersionChecked());
    EXPECT_EQ(mng->LastTimeVersionChecked(), now);
    EXPECT_EQ(mng->NextTimeToCheckVersion(), DateOf(2024, 5, 17, 9));
    EXPECT_EQ(windows_.Renewable, 1);
    EXPECT_EQ(windows_.Checked, 0);

    VersionFile same;
    same.Major = DividoraVersion::kMajor;
    same.Minor = DividoraVersion::kMinor;
    same.Revision = DividoraVersion::kRevision;
    CheckAt(*mng, now, same);
    EXPECT_EQ(windows_.Renewable, 1);
    EXPECT_EQ(windows_.Checked, 0) << "no notice asked for";
    mng->SetNoticeWhenVersionChecked(true);
    CheckAt(*mng, DateOf(2024, 5, 11, 9), same);
    EXPECT_EQ(windows_.Checked, 1);
    EXPECT_EQ(mng->LastTimeVersionChecked(), DateOf(2024, 5, 11, 9));
    windows_.SepaMng.reset();
}

TEST_F(KPXUISepaMngTest, CheckVersionSwitchesTheWatch) {
    auto backend = std::make_shared<ManualTimerBackend>();
    tkvCallBackForTimerCtrl::SetTimerBackend(backend);
    auto mng = NewMng();
    mng->SetCheckVersion(true);  // before the watch exists: only stored
    ASSERT_TRUE(mng->StartManagement());
    server_.ServeBody(VersionFile().Bytes());
    mng->WatchingControl()->CheckingControl()->SetAddress(server_.Url());
    mng->SetCheckVersion(true);
    EXPECT_TRUE(mng->WatchingControl()->Enabled());
    EXPECT_EQ(backend->RunningCount(), 1);
    EXPECT_TRUE(mng->IsVersionChecked()) << "the first tick found the check due";
    mng->SetCheckVersion(false);
    EXPECT_FALSE(mng->WatchingControl()->Enabled());
    EXPECT_FALSE(mng->CheckVersion());
    EXPECT_EQ(backend->RunningCount(), 0);
    windows_.SepaMng.reset();
}

// A tick's fetch that is still on its way when the user checks, or when the program ends.
class KPXUISepaMngFetchTest : public KPXUISepaMngTest {
protected:
    void SetUp() override {
        tkvCallBackForTimerCtrl::SetTimerBackend(backend_);
        mng_->SetBackgroundWork(work_);
        ASSERT_TRUE(mng_->StartManagement());
        newer_.Major = DividoraVersion::kMajor + 1;
        server_.ServeBody(newer_.Bytes());
        mng_->WatchingControl()->CheckingControl()->SetAddress(server_.Url());
    }
    void TearDown() override {
        windows_.SepaMng.reset();
        KPXUISepaMngTest::TearDown();
    }
    // Switches the watch on at agNow; its first tick finds the check due and starts a fetch.
    void StartFetchAt(double agNow) {
        mng_->WatchingControl()->SetClock([agNow] { return agNow; });
        mng_->SetCheckVersion(true);
        ASSERT_TRUE(mng_->WatchingControl()->Fetching());
    }

    std::shared_ptr<ManualTimerBackend> backend_ = std::make_shared<ManualTimerBackend>();
    std::shared_ptr<QueuedBackgroundWork> work_ = std::make_shared<QueuedBackgroundWork>();
    std::shared_ptr<KPXUISepaMng> mng_ = NewMng();
    VersionFile newer_;
};

TEST_F(KPXUISepaMngFetchTest, AFetchBegunBeforeACheckNowLeavesItsTimeAndNotice) {
    StartFetchAt(DateOf(2024, 5, 10, 9));
    CheckAt(*mng_, DateOf(2024, 5, 10, 10), newer_);
    work_->DeliverAll();
    EXPECT_EQ(mng_->LastTimeVersionChecked(), DateOf(2024, 5, 10, 10));
    EXPECT_EQ(mng_->NextTimeToCheckVersion(), DateOf(2024, 5, 17, 10));
    EXPECT_EQ(windows_.Renewable, 1) << "one check, one notice";
}

TEST_F(KPXUISepaMngFetchTest, AFetchThatArrivesAfterTheEndOpensNoNotice) {
    StartFetchAt(DateOf(2024, 5, 10, 9));
    ASSERT_TRUE(mng_->EndManagement());
    work_->DeliverAll();
    EXPECT_EQ(windows_.Renewable, 0);
    EXPECT_FALSE(mng_->IsVersionChecked());
}

TEST_F(KPXUISepaMngFetchTest, AFetchThatArrivesAfterTheCheckIsSwitchedOffOpensNoNotice) {
    StartFetchAt(DateOf(2024, 5, 10, 9));
    mng_->SetCheckVersion(false);
    work_->DeliverAll();
    EXPECT_EQ(windows_.Renewable, 0);
    EXPECT_FALSE(mng_->IsVersionChecked());
}

TEST_F(KPXUISepaMngTest, OnlyTheExactUninstallSwitchDeletesTheSettingsFile) {
    auto mng = Loaded();
    ASSERT_TRUE(mng->Save());
    bool failed = true;
    for (const char* other : {"", "/uninstall", "/UNINSTALL", "/Uninstall ", "/Uninstall x"}) {
        EXPECT_FALSE(mng->RemoveSettingsForUninstall(other, failed)) << other;
        EXPECT_FALSE(failed);
    }
    EXPECT_EQ(tkvFileString::GetPathKind(SettingsPath()), tkvFileString::kFile);
    EXPECT_TRUE(mng->RemoveSettingsForUninstall("/Uninstall", failed));
    EXPECT_FALSE(failed);
    EXPECT_EQ(tkvFileString::GetPathKind(SettingsPath()), tkvFileString::kMissing);
    failed = true;
    EXPECT_TRUE(mng->RemoveSettingsForUninstall("/Uninstall", failed));
    EXPECT_FALSE(failed) << "no file is no failure";
}

TEST_F(KPXUISepaMngTest, TheSettingsFolderIsTheProgramsWhenWritableElseTheUsersConfig) {
    EXPECT_EQ(KPXUISepaMng::SettingsFolderFor(folder_.Path()), folder_.Path());
    auto beside = NewMng();
    EXPECT_EQ(beside->FileAddressOfUtility(), SettingsPath());
    EXPECT_EQ(beside->FileAddressOfHowToUpdate(), folder_.Path("GuideKPX/howto/howtoupdate.htm"));
    EXPECT_EQ(tkvFileString::GetPathKind(KPXUISepaMng::ProgramFolder()), tkvFileString::kFolder);

    WriteAllBytes(folder_.Path("file"), "");
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", folder_.Path("config"));
        EXPECT_EQ(KPXUISepaMng::SettingsFolderFor(folder_.Path("file")),
                  folder_.Path("config/dividora"));
        EXPECT_EQ(KPXUISepaMng::SettingsFolderFor(folder_.Path("missing")),
                  folder_.Path("config/dividora"));
    }
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", std::string("relative"));
        ScopedEnvironment home("HOME", folder_.Path("home"));
        EXPECT_EQ(KPXUISepaMng::SettingsFolderFor(folder_.Path("missing")),
                  folder_.Path("home/.config/dividora"));
    }

    auto mng = NewMng(folder_.Path("home/.config/dividora"));
    mng->Load();
    EXPECT_TRUE(mng->Save()) << "the folder is created";
    EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("home/.config/dividora/KPXUtil.dat")),
              tkvFileString::kFile);
}

}  // namespace
