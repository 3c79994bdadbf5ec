#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "EngineJobs.h"
#include "KPXBlockCopy.h"
#include "ScopedMount.h"
#include "TestFiles.h"
#include "tkvCancelMng.h"
#include "tkvEventPump.h"
#include "tkvFileString.h"

namespace {

// Every copy test runs with the kernel copy and with the block buffer.
class CopyMethodTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { KPXBlockCopy::SetUseKernelCopy(GetParam()); }
    void TearDown() override {
        KPXBlockCopy::SetUseKernelCopy(true);
        tkvEventPump::SetProcessEventsHook({});
    }

    std::string Source(int64_t agLength, const std::string& agName = "s.bin") {
        WriteAllBytes(folder_.Path(agName), PatternBytes(agLength));
        return folder_.Path(agName);
    }

    TempFolder folder_;
};

std::string CopyName(const ::testing::TestParamInfo<bool>& agInfo) {
    return agInfo.param ? "KernelCopy" : "BufferCopy";
}

using SplitRoundTripTest = CopyMethodTest;

TEST_P(SplitRoundTripTest, EverySizeAroundTheBlockComesBackByteForByte) {
    constexpr int32_t kBlock = 4096;
    for (int64_t length : {int64_t{1}, int64_t{kBlock - 1}, int64_t{kBlock}, int64_t{kBlock + 1},
                           int64_t{3 * 1024 * 1024 + 17}}) {
        const std::string source = Source(length);
        const std::string pieces = folder_.Path("pieces" + std::to_string(length));
        const std::string restored = folder_.Path("restored" + std::to_string(length));
        ::mkdir(pieces.c_str(), 0755);
        ::mkdir(restored.c_str(), 0755);
        // Pieces of 1000 data bytes (header of s.bin: 140 bytes), or 3 pieces.
        for (auto [size, count] : {std::pair{1140, 0}, std::pair{0, 3}}) {
            auto made = SplitFile(source, pieces, size, count, 3, kBlock);
            ASSERT_FALSE(made.empty()) << length;
            std::shuffle(made.begin(), made.end(), std::mt19937(7));
            const std::string path = RestoreFiles(made, restored, kBlock);
            ASSERT_EQ(path, restored + "/s.bin");
            EXPECT_EQ(ReadAllBytes(path), ReadAllBytes(source)) << "length " << length;
            for (const auto& piece : made) {
                tkvFileString::DeleteFile(piece);
            }
            tkvFileString::DeleteFile(path);
        }
    }
}

TEST_P(SplitRoundTripTest, EveryNamingModeRoundTrips) {
    const std::string source = Source(100000);
    for (int32_t naming : {1, 2, 3}) {
        const std::string pieces = folder_.Path("pieces" + std::to_string(naming));
        ::mkdir(pieces.c_str(), 0755);
        const auto made = SplitFile(source, pieces, 0, 12, naming);
        ASSERT_EQ(made.size(), 12u);
        EXPECT_EQ(FolderEntries(pieces).size(), 12u);
        EXPECT_EQ(ReadAllBytes(RestoreFiles(made, pieces)), ReadAllBytes(source));
    }
}

INSTANTIATE_TEST_SUITE_P(BothCopies, SplitRoundTripTest, ::testing::Bool(), CopyName);

class KPXSeparateTest : public CopyMethodTest {
protected:
    // Separates agJob with the recording listener; false and the number when it fails.
    bool Separate(const std::shared_ptr<KPXSepaData>& agJob) {
        sepaCtrl_ = std::make_shared<KPXSepaCtrl>();
        sepaCtrl_->SetSepaData(agJob);
        sepaCtrl_->SetEvents(&events_);
        sepaCtrl_->SetCancelMng(cancel_);
        agJob->SetCancelMng(cancel_);
        return sepaCtrl_->Separate();
    }
    std::vector<std::string> Paths(const std::vector<std::string>& agNames) {
        std::vector<std::string> paths;
        for (const auto& name : agNames) {
            paths.push_back(folder_.Path(name));
        }
        return paths;
    }

    RecordingEvents events_;
    std::shared_ptr<tkvCancelMng> cancel_ = std::make_shared<tkvCancelMng>();
    std::shared_ptr<KPXSepaCtrl> sepaCtrl_;
};

TEST_P(KPXSeparateTest, BlocksProgressAndPollsFollowTheBlockSize) {
    // 10 bytes into 4, 4 and 2 with 3-byte blocks: 3 + 1, 3 + 1, 2; no poll inside the last.
    const std::string source = Source(10);
    int polls = 0;
    tkvEventPump::SetProcessEventsHook([&] { ++polls; });
    ASSERT_TRUE(Separate(SplitJob(source, {4, 4, 2}, Paths({"p1", "p2", "p3"}), 3)));
    const std::vector<std::string> expected = {
        "Creating 1/3 p1", "Source 0/10", "Piece 0/4",       "Source 4/10", "Piece 144/4",
        "Source 5/10",     "Piece 145/4", "Creating 2/3 p2", "Source 0/10", "Piece 0/4",
        "Source 8/10",     "Piece 144/4", "Source 9/10",     "Piece 145/4", "Creating 3/3 p3",
        "Source 0/10",     "Piece 0/2",   "Source 11/10",    "Piece 143/2"};
    EXPECT_EQ(events_.Lines, expected);
    EXPECT_EQ(polls, 3 + 1 + 1 + 1 + 1 + 1 + 1)
        << "3 size sums, a poll in pieces 1 and 2, 3 after, 1 before the final names";
    const std::string data = ReadAllBytes(source);
    EXPECT_EQ(ReadAllBytes(folder_.Path("p1")).substr(140), data.substr(0, 4));
    EXPECT_EQ(ReadAllBytes(folder_.Path("p2")).substr(140), data.substr(4, 4));
    EXPECT_EQ(ReadAllBytes(folder_.Path("p3")).substr(140), data.substr(8, 2));
    EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 3);
    EXPECT_EQ(sepaCtrl_->SepaData()->SourceFileSize(), 10);
}

TEST_P(KPXSeparateTest, PreconditionsFailBeforeAnythingIsCreated) {
    const std::string source = Source(10);
    const auto good = [&] { return SplitJob(source, {10}, Paths({"p1"}), 3); };
    struct Case {
        int32_t Number;
        std::function<void(KPXSepaData&)> Spoil;
    };
    const std::vector<Case> cases = {
        {1002, [&](KPXSepaData& agJob) { agJob.SetFileAddress(folder_.Path("missing")); }},
        {1002, [&](KPXSepaData& agJob) { agJob.SetFileAddress(folder_.Path()); }},
        {1003, [](KPXSepaData& agJob) { agJob.Initialize(0); }},
        {1004, [](KPXSepaData& agJob) { agJob.SetTransmissionByteSize(0); }},
        {1005, [](KPXSepaData& agJob) { agJob.DividoraData(0)->SetFileSize(9); }},
        {1007, [&](KPXSepaData& agJob) { agJob.DividoraData(0)->SetFileAddress(source); }},
        // A source named NAME.xxh128 cut beside itself as NAME.
        {1007, [&](KPXSepaData& agJob) { agJob.SetChecksumFileAddress(source); }},
    };
    for (const Case& test : cases) {
        auto job = good();
        test.Spoil(*job);
        EXPECT_FALSE(Separate(job));
        EXPECT_EQ(OnlyError(*sepaCtrl_), test.Number);
        EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 0);
    }
    KPXSepaCtrl bare;
    EXPECT_FALSE(bare.Separate());
    EXPECT_EQ(OnlyError(bare), 1001);
    EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::string>{"s.bin"});
}

TEST_P(KPXSeparateTest, SizesThatDoNotAddUpFailUnlessUnconfirmedThenTheSourceEndsEarly) {
    const std::string source = Source(10);
    auto job = SplitJob(source, {4, 4, 1}, Paths({"p1", "p2", "p3"}), 3);
    EXPECT_FALSE(Separate(job));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1005);
    EXPECT_EQ(FolderEntries(folder_.Path()).size(), 1u);

    // Unconfirmed, the records ask for more than the source holds: no piece claims data it
    // does not have.
    job = SplitJob(source, {4, 4, 4}, Paths({"p1", "p2", "p3"}), 3);
    job->SetConfirmFileSize(false);
    EXPECT_FALSE(Separate(job));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1102);
    int32_t index = -1;
    EXPECT_TRUE(sepaCtrl_->SepaResult()->GetErrorDataOfSeparatedFile(index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(FolderEntries(folder_.Path()).size(), 1u) << "the clean-up removed the pieces";
}

TEST_P(KPXSeparateTest, APieceWithoutDataGetsItsHeaderOnly) {
    const std::string source = Source(4);
    ASSERT_TRUE(Separate(SplitJob(source, {4, 0}, Paths({"p1", "p2"}), 3)));
    EXPECT_EQ(ReadAllBytes(folder_.Path("p2")).size(), 140u);
}

TEST_P(KPXSeparateTest, OverwriteIsAskedThenReplacesOrStops) {
    const std::string source = Source(10);
    WriteAllBytes(folder_.Path("p2"), "old piece");
    ASSERT_TRUE(Separate(SplitJob(source, {5, 5}, Paths({"p1", "p2"}), 3)));
    EXPECT_NE(
        std::find(events_.Lines.begin(), events_.Lines.end(), "Overwrite " + folder_.Path("p2")),
        events_.Lines.end());
    EXPECT_EQ(ReadAllBytes(folder_.Path("p2")).size(), 145u);

    tkvFileString::DeleteFile(folder_.Path("p1"));
    WriteAllBytes(folder_.Path("p2"), "old piece");
    events_.RefuseOverwrite = true;
    EXPECT_FALSE(Separate(SplitJob(source, {5, 5}, Paths({"p1", "p2"}), 3)));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1901);
    int32_t index = -1;
    EXPECT_TRUE(sepaCtrl_->SepaResult()->GetErrorDataOfSeparatedFile(index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(ReadAllBytes(folder_.Path("p2")), "old piece") << "a refused file is never touched";
    EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("p1")), tkvFileString::kMissing)
        << "the piece this run created is cleaned up";
}

TEST_P(KPXSeparateTest, CancelDuringTheSecondPieceLeavesNothingOrEverythingAsAsked) {
    const std::string source = Source(30);
    for (bool clear : {true, false}) {
        auto job = SplitJob(source, {10, 10, 10}, Paths({"p1", "p2", "p3"}), 3);
        job->SetClearCreatedFileWhenUncompleted(clear);
        cancel_->Reset();
        // The click arrives as the second piece starts; the first poll inside it sees it.
        events_.OnEvent = [&](const std::string& agLine) {
            if (agLine == "Creating 2/3 p2") {
                cancel_->Cancel();
            }
        };
        EXPECT_FALSE(Separate(job));
        EXPECT_EQ(sepaCtrl_->ErrorMng()->Count(), 0) << "a cancel is no error";
        EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 2);
        EXPECT_EQ(FolderEntries(folder_.Path()).size(), clear ? 1u : 3u);
        tkvFileString::DeleteFile(folder_.Path("p1"));
        tkvFileString::DeleteFile(folder_.Path("p2"));
    }
}

TEST_P(KPXSeparateTest, ANameTheHeaderCannotCarryIsRefusedBeforeWriting) {
    for (const std::string name : {"a😀.bin", "¥100.bin", "a\\b.bin", "a\nb.bin"}) {
        const std::string source = Source(10, name);
        EXPECT_FALSE(Separate(SplitJob(source, {10}, Paths({"p1"}), 3))) << name;
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1008) << name;
        EXPECT_EQ(sepaCtrl_->ErrorMng()->Description(1008),
                  "分割元ﾌｧｲﾙ名にﾍｯﾀﾞへ書き込めない文字が含まれています。");
        EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("p1")), tkvFileString::kMissing);
        tkvFileString::DeleteFile(source);
    }
}

TEST_P(KPXSeparateTest, APieceThatIsTheSourceThroughALinkIsRefused) {
    const std::string source = Source(10);
    ::symlink(source.c_str(), folder_.Path("soft").c_str());
    ::link(source.c_str(), folder_.Path("hard").c_str());
    for (const std::string link : {"soft", "hard"}) {
        EXPECT_FALSE(Separate(SplitJob(source, {5, 5}, Paths({"p1", link}), 3)));
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1007);
        EXPECT_EQ(ReadAllBytes(source), PatternBytes(10));
        EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("p1")), tkvFileString::kMissing);
        auto job = SplitJob(source, {5, 5}, Paths({"p1", "p2"}), 3);
        job->SetChecksumFileAddress(folder_.Path(link));
        EXPECT_FALSE(Separate(job));
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1007);
        EXPECT_EQ(ReadAllBytes(source), PatternBytes(10));
    }
}

TEST_P(KPXSeparateTest, AFullDiskFailsTheRunWithItsCauseAndCleansUp) {
    const std::string source = Source(200000);
    for (bool clear : {true, false}) {
        auto job = SplitJob(source, {100000, 100000}, Paths({"p1", "p2"}), 4096);
        job->SetClearCreatedFileWhenUncompleted(clear);
        bool done = true;
        {
            ScopedFileSizeLimit limit(50000);
            done = Separate(job);
        }
        EXPECT_FALSE(done);
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1103);
        const std::string text = sepaCtrl_->ErrorMng()->Description(1103);
        EXPECT_EQ(text.rfind("分割先ﾌｧｲﾙへの書き込みに失敗しました。 ", 0), 0u) << text;
        EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("p1")),
                  clear ? tkvFileString::kMissing : tkvFileString::kFile);
        tkvFileString::DeleteFile(folder_.Path("p1"));
    }
}

TEST_P(KPXSeparateTest, ARealFullFileSystemFailsTheRunAndCleansUp) {
    const std::string source = Source(600000);
    ScopedMount small(folder_.Path("small"), 256 * 1024);
    if (!small.Available()) {
        GTEST_SKIP() << small.Why();
    }
    const std::string out = folder_.Path("small");
    EXPECT_FALSE(Separate(SplitJob(source, {300000, 300000}, {out + "/p1", out + "/p2"}, 65536)));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1103);
    EXPECT_TRUE(FolderEntries(out).empty());
}

TEST_P(KPXSeparateTest, ASourceOnAReadOnlyFileSystemSplits) {
    ScopedMount media(folder_.Path("media"), 1024 * 1024);
    if (!media.Available()) {
        GTEST_SKIP() << media.Why();
    }
    WriteAllBytes(folder_.Path("media/s.bin"), PatternBytes(1000));
    ASSERT_TRUE(media.MakeReadOnly());
    ASSERT_TRUE(
        Separate(SplitJob(folder_.Path("media/s.bin"), {600, 400}, Paths({"p1", "p2"}), 256)));
    EXPECT_EQ(ReadAllBytes(folder_.Path("p2")).substr(140), PatternBytes(1000).substr(600));
}

INSTANTIATE_TEST_SUITE_P(BothCopies, KPXSeparateTest, ::testing::Bool(), CopyName);

}  // namespace
