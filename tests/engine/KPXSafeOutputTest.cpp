#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "EngineJobs.h"
#include "TestFiles.h"
#include "tkvCancelMng.h"
#include "tkvFileRWCtrl.h"
#include "tkvFileString.h"
#include "tkvRunFileName.h"
#include "tkvRunRecord.h"
#include "tkvStagedFiles.h"

// What a split or restore may leave behind: files that existed before stay as they were until
// the run has succeeded, nothing partial ever carries a final name, nothing but a file is
// replaced, and the data copied is the data that was checked.
namespace {

class KPXSafeOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::mkdir(folder_.Path("out").c_str(), 0755);
        WriteAllBytes(folder_.Path("s.bin"), PatternBytes(3000));
    }

    std::string Out(const std::string& agName) const { return folder_.Path("out/" + agName); }
    // Three pieces p1 to p3 of 1000 data bytes in out/.
    std::shared_ptr<KPXSepaData> Job() const {
        return SplitJob(folder_.Path("s.bin"), {1000, 1000, 1000},
                        {Out("p1"), Out("p2"), Out("p3")}, 256);
    }
    bool Run(const std::shared_ptr<KPXSepaData>& agJob, bool agSplit) {
        sepaCtrl_ = std::make_shared<KPXSepaCtrl>();
        sepaCtrl_->SetSepaData(agJob);
        sepaCtrl_->SetEvents(&events_);
        sepaCtrl_->SetCancelMng(cancel_);
        return agSplit ? sepaCtrl_->Separate() : sepaCtrl_->Restore();
    }
    bool Restore(const std::string& agFolder) {
        return Run(RestoreJob({Out("p1"), Out("p2"), Out("p3")}, agFolder, 256), false);
    }
    bool Asked(const std::string& agPath) const {
        return std::find(events_.Lines.begin(), events_.Lines.end(), "Overwrite " + agPath) !=
               events_.Lines.end();
    }
    // The names in out/ that start with a dot: temporary files.
    std::vector<std::string> Hidden() const {
        std::vector<std::string> hidden;
        for (const auto& name : FolderEntries(folder_.Path("out"))) {
            if (name.front() == '.') {
                hidden.push_back(name);
            }
        }
        return hidden;
    }

    TempFolder folder_;
    RecordingEvents events_;
    std::shared_ptr<tkvCancelMng> cancel_ = std::make_shared<tkvCancelMng>();
    std::shared_ptr<KPXSepaCtrl> sepaCtrl_;
};

TEST_F(KPXSafeOutputTest, ASplitOverAnOlderSetThatFailsLeavesTheOlderSetWhole) {
    for (const char* name : {"p1", "p2", "p3"}) {
        WriteAllBytes(Out(name), std::string("old ") + name);
    }
    // The third piece hits a full disk after the first two were written.
    std::unique_ptr<ScopedFileSizeLimit> diskFull;
    events_.OnEvent = [&](const std::string& agLine) {
        if (agLine == "Creating 3/3 p3") {
            diskFull = std::make_unique<ScopedFileSizeLimit>(500);
        }
    };
    EXPECT_FALSE(Run(Job(), true));
    diskFull.reset();
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1103);
    EXPECT_TRUE(Asked(Out("p1")) && Asked(Out("p2")));
    for (const char* name : {"p1", "p2", "p3"}) {
        EXPECT_EQ(ReadAllBytes(Out(name)), std::string("old ") + name) << name;
    }
    EXPECT_EQ(Hidden(), std::vector<std::string>{});
    EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 3);
}

TEST_F(KPXSafeOutputTest, KeptPartialFilesTakeTheirFinalNames) {
    WriteAllBytes(Out("p2"), "old p2");
    auto job = Job();
    job->SetClearCreatedFileWhenUncompleted(false);
    events_.OnEvent = [&](const std::string& agLine) {
        if (agLine == "Creating 3/3 p3") {
            cancel_->Cancel();
        }
    };
    EXPECT_FALSE(Run(job, true));
    EXPECT_EQ(FolderEntries(folder_.Path("out")), (std::vector<std::string>{"p1", "p2", "p3"}));
    EXPECT_EQ(ReadAllBytes(Out("p2")).substr(140), PatternBytes(3000).substr(1000, 1000));
    EXPECT_LT(ReadAllBytes(Out("p3")).size(), 1140u) << "the piece being written when cancelled";
}

TEST_F(KPXSafeOutputTest, AnOutputFolderRemovedDuringTheRunFailsIt) {
    ASSERT_TRUE(Run(Job(), true));
    ::mkdir(folder_.Path("restored").c_str(), 0755);
    events_.OnEvent = [&](const std::string& agLine) {
        if (agLine == "Reading 3/3 p3") {
            for (const auto& name : FolderEntries(folder_.Path("restored"))) {
                ::unlink((folder_.Path("restored/") + name).c_str());
            }
            ::rmdir(folder_.Path("restored").c_str());
        }
    };
    EXPECT_FALSE(Restore(folder_.Path("restored")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1403);
    const std::string cause = sepaCtrl_->ErrorMng()->Description(1403);
    EXPECT_NE(cause.find(folder_.Path("restored/s.bin")), std::string::npos) << cause;
    EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("restored")), tkvFileString::kMissing);
}

TEST_F(KPXSafeOutputTest, ACancelledRestoreLeavesTheExistingFileAndNoTemporaryFile) {
    ASSERT_TRUE(Run(Job(), true));
    WriteAllBytes(Out("s.bin"), "keep me");
    events_.OnEvent = [&](const std::string& agLine) {
        if (agLine == "Reading 2/3 p2") {
            EXPECT_EQ(Hidden().size(), 2u) << "the data goes to a hidden file meanwhile, beside "
                                              "the run's record";
            cancel_->Cancel();
        }
    };
    EXPECT_FALSE(Restore(folder_.Path("out")));
    EXPECT_TRUE(Asked(Out("s.bin")));
    EXPECT_EQ(ReadAllBytes(Out("s.bin")), "keep me");
    EXPECT_EQ(Hidden(), std::vector<std::string>{});
}

TEST_F(KPXSafeOutputTest, WhatEndedRunsLeftIsRemovedAndNothingElse) {
    const std::string out = folder_.Path("out");
    const std::string ended = tkvRunFileName::NewTag();
    const std::string endedCommitting = tkvRunFileName::NewTag();
    // Two runs of a process that has ended, as after a kill or a power cut: one while it wrote,
    // one while it gave its files their final names.
    const pid_t child = ::fork();
    if (child == 0) {
        tkvRunRecord writing;
        tkvRunRecord committing;
        std::string ignored;
        if (writing.Create(out, ended) && committing.Create(out, endedCommitting) &&
            committing.MarkCommitting(ignored)) {
            WriteAllBytes(Out(tkvRunFileName::Of(tkvRunFileName::Kind::kPart, "z9", ended)), "z");
            WriteAllBytes(
                Out(tkvRunFileName::Of(tkvRunFileName::Kind::kKept, "p2", endedCommitting)), "o");
            ::_exit(0);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // A run that still lives; one of another machine (a shared folder), which nobody here
    // holds; and a user's files that merely look like a run's.
    tkvRunRecord living;
    const std::string live = tkvRunFileName::NewTag();
    ASSERT_TRUE(living.Create(out, live));
    const std::string elsewhere = tkvRunFileName::NewTag();
    WriteAllBytes(Out(tkvRunFileName::Of(tkvRunFileName::Kind::kRecord, {}, elsewhere)),
                  "dividora run 1 another-machine\n");
    const std::vector<std::string> kept = {
        tkvRunFileName::Of(tkvRunFileName::Kind::kPart, "p1", live),
        tkvRunFileName::Of(tkvRunFileName::Kind::kPart, "x", tkvRunFileName::NewTag()),
        ".x.123.dividora-part",
        tkvRunFileName::Of(tkvRunFileName::Kind::kRecord, {}, live),
        tkvRunFileName::Of(tkvRunFileName::Kind::kKept, "p2", endedCommitting),
        tkvRunFileName::Of(tkvRunFileName::Kind::kRecord, {}, endedCommitting),
        tkvRunFileName::Of(tkvRunFileName::Kind::kPart, "p3", elsewhere),
        tkvRunFileName::Of(tkvRunFileName::Kind::kRecord, {}, elsewhere),
    };
    for (const auto& name : {kept[0], kept[1], kept[2], kept[6]}) {
        WriteAllBytes(Out(name), "keep");
    }
    ASSERT_EQ(tkvRunRecord::FindLeftovers(out).size(), 3u);
    ASSERT_TRUE(Run(Job(), true));
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Hidden(), expected) << "only what the ended run left while it wrote goes";
    auto leftovers = tkvRunRecord::FindLeftovers(out);
    ASSERT_EQ(leftovers.size(), 2u);
    if (leftovers[0].Tag != endedCommitting) {
        std::swap(leftovers[0], leftovers[1]);
    }
    EXPECT_TRUE(leftovers[0].Committing);
    EXPECT_EQ(leftovers[0].Files, std::vector<std::string>{Out(kept[4])});
    EXPECT_EQ(leftovers[0].Record, Out(kept[5]));
    EXPECT_EQ(leftovers[1].OtherMachine, "another-machine");
    EXPECT_EQ(leftovers[1].Files, std::vector<std::string>{Out(kept[6])});
}

TEST_F(KPXSafeOutputTest, HiddenNamesOfLongNamesFitTheFileSystem) {
    const std::string tag = tkvRunFileName::NewTag();
    const std::string longName(250, 'n');
    const std::string kana = "ｱ" + std::string(240, 'n') + "漢字漢字漢字";
    for (const auto kind : {tkvRunFileName::Kind::kPart, tkvRunFileName::Kind::kKept}) {
        for (const std::string& finalName : {longName, kana}) {
            const std::string name = tkvRunFileName::Of(kind, finalName, tag);
            EXPECT_LE(name.size(), 255u);
            EXPECT_TRUE(tkvFileString::IsPlainFileName(name)) << name;
            EXPECT_TRUE(tkvRunFileName::IsRunFileName(name)) << name;
        }
    }
    // Pieces of one long name differ only at its end: each keeps a temporary file of its own.
    const std::string nextName = longName.substr(0, 249) + "m";
    tkvStagedFiles files;
    WriteAllBytes(files.Stage(Out(longName), false), "data");
    WriteAllBytes(files.Stage(Out(nextName), false), "next");
    std::string failed;
    std::string why;
    ASSERT_TRUE(files.CommitAll(failed, why)) << why;
    EXPECT_EQ(ReadAllBytes(Out(longName)), "data");
    EXPECT_EQ(ReadAllBytes(Out(nextName)), "next");
}

TEST_F(KPXSafeOutputTest, ACommitThatFailsPartWayPutsEveryReplacedFileBack) {
    for (const char* name : {"p1", "p2", "p3"}) {
        WriteAllBytes(Out(name), std::string("old ") + name);
    }
    {
        tkvStagedFiles files;
        for (const char* name : {"p1", "p4", "p2", "p3"}) {
            WriteAllBytes(files.Stage(Out(name), std::string(name) != "p4"), "new");
        }
        // The last rename fails: its temporary file is gone, as on a device that fails.
        ::unlink(files.Stage(Out("p5"), false).c_str());
        std::string failed;
        std::string why;
        EXPECT_FALSE(files.CommitAll(failed, why));
        EXPECT_EQ(failed, Out("p5"));
        EXPECT_TRUE(files.DiscardAll());
    }
    for (const char* name : {"p1", "p2", "p3"}) {
        EXPECT_EQ(ReadAllBytes(Out(name)), std::string("old ") + name) << name;
    }
    EXPECT_EQ(FolderEntries(folder_.Path("out")), (std::vector<std::string>{"p1", "p2", "p3"}))
        << "no new file, no hidden file, no record";
}

TEST_F(KPXSafeOutputTest, ASourceThatChangesDuringTheSplitFailsIt) {
    struct Case {
        const char* What;
        std::function<void()> Change;
    };
    const std::string source = folder_.Path("s.bin");
    const auto rewrite = [&](int64_t agOffset, const std::string& agBytes) {
        tkvFileRWCtrl file;
        file.SetFileAddress(source);
        ASSERT_TRUE(file.OpenForBinary());
        file.SetCurrentPoint(agOffset + 1);
        file.WriteBlock(agBytes.data(), static_cast<int64_t>(agBytes.size()));
    };
    const std::vector<Case> cases = {
        {"rewritten in place near its end", [&] { rewrite(2900, std::string(50, 'x')); }},
        {"added to", [&] { rewrite(3000, "more"); }},
        {"cut short after the piece being read", [&] { ::truncate(source.c_str(), 2500); }},
        {"cut short within the piece being read", [&] { ::truncate(source.c_str(), 1500); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        WriteAllBytes(source, PatternBytes(3000));
        // Written long ago: a change during the split gets a time of its own even where the
        // file system's clock ticks coarsely.
        const timespec past[2] = {{946684800, 0}, {946684800, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), past, 0), 0);
        events_.OnEvent = [&](const std::string& agLine) {
            if (agLine == "Creating 2/3 p2") {
                test.Change();
            }
        };
        EXPECT_FALSE(Run(Job(), true));
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1106);
        EXPECT_NE(sepaCtrl_->ErrorMng()->Description(1106).find(source), std::string::npos);
        EXPECT_EQ(FolderEntries(folder_.Path("out")), std::vector<std::string>{});
    }
}

TEST_F(KPXSafeOutputTest, ANameTakenDuringTheRunFailsTheCommitBeforeAnyFileIsReplaced) {
    for (const bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "a folder" : "a file");
        WriteAllBytes(Out("p1"), "old");
        {
            tkvStagedFiles files;
            WriteAllBytes(files.Stage(Out("p1"), true), "new");
            WriteAllBytes(files.Stage(Out("p2"), folder), "new");
            // Taken after the question was asked (or not asked: p2 was free then).
            if (folder) {
                ::mkdir(Out("p2").c_str(), 0755);
            } else {
                WriteAllBytes(Out("p2"), "appeared");
            }
            std::string failed;
            std::string why;
            EXPECT_FALSE(files.CommitAll(failed, why));
            EXPECT_EQ(failed, Out("p2"));
            EXPECT_TRUE(files.DiscardAll());
        }
        EXPECT_EQ(ReadAllBytes(Out("p1")), "old");
        EXPECT_EQ(tkvFileString::GetPathKind(Out("p2")),
                  folder ? tkvFileString::kFolder : tkvFileString::kFile);
        EXPECT_EQ(FolderEntries(folder_.Path("out")), (std::vector<std::string>{"p1", "p2"}));
        ::rmdir(Out("p2").c_str());
        ::unlink(Out("p2").c_str());
    }
}

TEST_F(KPXSafeOutputTest, OnlyFilesAndLinksToThemAreReplacedAfterTheQuestion) {
    ::mkfifo(Out("p1").c_str(), 0600);
    ::mkdir(Out("p2").c_str(), 0755);
    ::symlink(folder_.Path().c_str(), Out("p3").c_str());
    for (const char* name : {"p1", "p2", "p3"}) {
        SCOPED_TRACE(name);
        const std::string path = Out(name);
        auto job = Job();
        // Every other piece goes elsewhere, so the run reaches this one first.
        for (int32_t i = 0; i < 3; ++i) {
            job->DividoraData(i)->SetFileAddress(
                i == name[1] - '1' ? path : folder_.Path("x" + std::to_string(i)));
        }
        events_.Lines.clear();
        EXPECT_FALSE(Run(job, true));
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1105);
        const std::string cause = sepaCtrl_->ErrorMng()->Description(1105);
        EXPECT_NE(cause.find(path), std::string::npos) << cause;
        EXPECT_FALSE(Asked(path));
    }
    struct stat info {};
    EXPECT_TRUE(::stat(Out("p1").c_str(), &info) == 0 && S_ISFIFO(info.st_mode));
    EXPECT_EQ(tkvFileString::GetPathKind(Out("p2")), tkvFileString::kFolder);
    EXPECT_EQ(tkvFileString::GetPathKind(Out("p3")), tkvFileString::kFolder);

    // A restored file's place holding a folder.
    ::unlink(Out("p1").c_str());
    ::rmdir(Out("p2").c_str());
    ::unlink(Out("p3").c_str());
    ASSERT_TRUE(Run(Job(), true));
    ::mkdir(Out("s.bin").c_str(), 0755);
    EXPECT_FALSE(Restore(folder_.Path("out")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1305);
    ::rmdir(Out("s.bin").c_str());

    // A link to a file and a broken link are replaced, after the question; the link's target
    // stays as it was.
    WriteAllBytes(folder_.Path("target"), "target");
    ::symlink(folder_.Path("target").c_str(), Out("s.bin").c_str());
    events_.Lines.clear();
    ASSERT_TRUE(Restore(folder_.Path("out")));
    EXPECT_TRUE(Asked(Out("s.bin")));
    EXPECT_EQ(ReadAllBytes(Out("s.bin")), PatternBytes(3000));
    EXPECT_EQ(ReadAllBytes(folder_.Path("target")), "target");
    ::unlink(Out("s.bin").c_str());
    ::symlink(folder_.Path("nowhere").c_str(), Out("s.bin").c_str());
    events_.Lines.clear();
    ASSERT_TRUE(Restore(folder_.Path("out")));
    EXPECT_TRUE(Asked(Out("s.bin")));
    EXPECT_EQ(ReadAllBytes(Out("s.bin")), PatternBytes(3000));
}

TEST_F(KPXSafeOutputTest, ASocketAtATargetIsLeftAsItIs) {
    const std::string path = Out("p1");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        GTEST_SKIP() << "the temporary folder's path is too long for a socket";
    }
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_FALSE(Run(Job(), true));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1105);
    struct stat info {};
    EXPECT_TRUE(::lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode));
    ::close(fd);
}

TEST_F(KPXSafeOutputTest, AFailedReadIsReportedAsARead) {
    // The process's own memory file fails every read at offset 0 with an I/O error.
    auto job = SplitJob("/proc/self/mem", {1000}, {Out("p1")}, 256);
    job->SetConfirmFileSize(false);
    EXPECT_FALSE(Run(job, true));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1104);
    EXPECT_EQ(sepaCtrl_->ErrorMng()->Description(1104),
              "分割元ﾌｧｲﾙの読み込みに失敗しました。 /proc/self/mem: Input/output error");
    EXPECT_EQ(FolderEntries(folder_.Path("out")), std::vector<std::string>{});
}

TEST_F(KPXSafeOutputTest, APieceChangedAfterItsCheckIsNotCopied) {
    ASSERT_TRUE(Run(Job(), true));
    // Another split of the same file: pieces of the same names and sizes.
    ::mkdir(folder_.Path("other").c_str(), 0755);
    auto other = SplitJob(
        folder_.Path("s.bin"), {1000, 1000, 1000},
        {folder_.Path("other/p1"), folder_.Path("other/p2"), folder_.Path("other/p3")}, 256);
    ASSERT_TRUE(Run(other, true));
    ::mkdir(folder_.Path("restored").c_str(), 0755);
    const std::string original = ReadAllBytes(Out("p2"));
    struct Case {
        const char* What;
        std::function<void()> Change;
    };
    const std::vector<Case> cases = {
        {"moved over", [&] { ::rename(folder_.Path("other/p2").c_str(), Out("p2").c_str()); }},
        {"rewritten in place",
         [&] {
             tkvFileRWCtrl file;
             file.SetFileAddress(Out("p2"));
             ASSERT_TRUE(file.OpenForBinary());
             file.SetCurrentPoint(116);
             file.SetLong(12345);  // SpecID
         }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        WriteAllBytes(Out("p2"), original);
        events_.OnEvent = [&](const std::string& agLine) {
            if (agLine == "Confirming") {
                test.Change();
            }
        };
        EXPECT_FALSE(Restore(folder_.Path("restored")));
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1405);
        int32_t index = -1;
        EXPECT_TRUE(sepaCtrl_->SepaResult()->GetErrorDataOfSeparatedFile(index));
        EXPECT_EQ(index, 1);
        EXPECT_EQ(FolderEntries(folder_.Path("restored")), std::vector<std::string>{});
    }
}

}  // namespace
