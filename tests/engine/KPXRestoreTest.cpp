#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "EngineJobs.h"
#include "ScopedMount.h"
#include "TestFiles.h"
#include "tkvCancelMng.h"
#include "tkvFileString.h"

namespace {

class KPXRestoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::mkdir(folder_.Path("out").c_str(), 0755);
        ::mkdir(folder_.Path("pieces").c_str(), 0755);
        WriteAllBytes(folder_.Path("s.bin"), PatternBytes(3000));
        // Three pieces of 1000 data bytes: piece1.KPX to piece3.KPX.
        pieces_ = SplitFile(folder_.Path("s.bin"), folder_.Path("pieces"), 1140, 0, 2, 256);
        ASSERT_EQ(pieces_.size(), 3u);
    }

    bool Restore(const std::vector<std::string>& agPieces, const std::string& agFolder) {
        job_ = RestoreJob(agPieces, agFolder, 256);
        job_->SetCancelMng(cancel_);
        sepaCtrl_ = std::make_shared<KPXSepaCtrl>();
        sepaCtrl_->SetSepaData(job_);
        sepaCtrl_->SetEvents(&events_);
        sepaCtrl_->SetCancelMng(cancel_);
        return sepaCtrl_->Restore();
    }
    int32_t ErrorIndex() const {
        int32_t index = -1;
        sepaCtrl_->SepaResult()->GetErrorDataOfSeparatedFile(index);
        return index;
    }
    bool OutIsEmpty() { return FolderEntries(folder_.Path("out")).empty(); }
    // A piece of another kind: agRecord's fields, 10 data bytes.
    std::string ForeignPiece(const std::string& agName,
                             const std::function<void(KPXDividoraData&)>& agChange) {
        KPXDividoraData record;
        record.SetFileAddress(pieces_[1]);
        KPXSepaCtrl reader;
        EXPECT_TRUE(reader.ReadHeader(record));
        agChange(record);
        WriteTestPiece(folder_.Path(agName), record, std::string(1000, 'x'));
        return folder_.Path(agName);
    }

    TempFolder folder_;
    std::vector<std::string> pieces_;
    std::shared_ptr<KPXSepaData> job_;
    std::shared_ptr<KPXSepaCtrl> sepaCtrl_;
    RecordingEvents events_;
    std::shared_ptr<tkvCancelMng> cancel_ = std::make_shared<tkvCancelMng>();
};

TEST_F(KPXRestoreTest, PiecesInAnyOrderAreJoinedInJoinOrder) {
    ASSERT_TRUE(Restore({pieces_[2], pieces_[0], pieces_[1]}, folder_.Path("out")));
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/s.bin")), PatternBytes(3000));
    EXPECT_EQ(job_->DividoraData(0)->TurnID(), 0);
    EXPECT_EQ(job_->DividoraData(0)->FileAddress(), pieces_[0]);
    EXPECT_EQ(job_->SourceFileSize(), 3000);
    EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 1);
    EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFile(0), folder_.Path("out/s.bin"));
    const std::vector<std::string> firstEvents(events_.Lines.begin(), events_.Lines.begin() + 5);
    EXPECT_EQ(firstEvents,
              (std::vector<std::string>{"ReadingHeaders", "Confirming", "Reading 1/3 piece1.KPX",
                                        "FromPiece 0/3000", "ToRestored 0/1000"}));
}

TEST_F(KPXRestoreTest, TheFolderWithOrWithoutATrailingSeparatorGivesTheSamePath) {
    ASSERT_TRUE(Restore(pieces_, folder_.Path("out") + "/"));
    EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFile(0), folder_.Path("out/s.bin"));
}

TEST_F(KPXRestoreTest, IncompleteDuplicatedAndMixedSetsAreRefusedBeforeWriting) {
    struct Case {
        std::vector<std::string> Pieces;
        int32_t Number;
        int32_t Index;
    };
    const std::string otherSplit =
        ForeignPiece("other.KPX", [](KPXDividoraData& agRecord) { agRecord.SetSpecID(1); });
    const std::string otherDate =
        ForeignPiece("date.KPX", [](KPXDividoraData& agRecord) { agRecord.SetSepaDate(1.0); });
    const std::string otherCount =
        ForeignPiece("count.KPX", [](KPXDividoraData& agRecord) { agRecord.SetCount(4); });
    const std::string otherName =
        ForeignPiece("name.KPX", [](KPXDividoraData& agRecord) { agRecord.SetFileName("S.bin"); });
    const std::string outOfRange =
        ForeignPiece("range.KPX", [](KPXDividoraData& agRecord) { agRecord.SetTurnID(5); });
    // Below the join-order table: must be refused, never used as a position.
    const std::string negative =
        ForeignPiece("negative.KPX", [](KPXDividoraData& agRecord) { agRecord.SetTurnID(-1); });
    WriteAllBytes(folder_.Path("not-a-piece"), "just some text that is no piece at all");
    const std::vector<Case> cases = {
        {{pieces_[0], pieces_[1]}, 1705, 0},
        {{pieces_[0], pieces_[0], pieces_[2]}, 1801, -1},
        {{pieces_[0], otherSplit, pieces_[2]}, 1702, 1},
        {{pieces_[0], pieces_[1], otherDate}, 1701, 2},
        {{otherCount, pieces_[1], pieces_[2]}, 1703, 1},  // the first piece is the reference
        {{pieces_[0], otherName, pieces_[2]}, 1704, 1},
        {{pieces_[0], outOfRange, pieces_[2]}, 1802, 1},
        {{pieces_[0], pieces_[1], negative}, 1802, 2},
        {{pieces_[0], folder_.Path("not-a-piece"), pieces_[2]}, 1601, 1},
        {{pieces_[0], pieces_[1], folder_.Path("missing")}, 1301, 2},
        {{pieces_[0], folder_.Path("pieces"), pieces_[2]}, 1301, 1},
    };
    for (const Case& test : cases) {
        events_.Lines.clear();
        EXPECT_FALSE(Restore(test.Pieces, folder_.Path("out")));
        EXPECT_EQ(OnlyError(*sepaCtrl_), test.Number);
        EXPECT_EQ(ErrorIndex(), test.Index) << test.Number;
        EXPECT_TRUE(OutIsEmpty()) << test.Number;
        EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 0);
    }
    KPXSepaCtrl bare;
    EXPECT_FALSE(bare.Restore());
    EXPECT_EQ(OnlyError(bare), 1001);
    EXPECT_FALSE(Restore({}, folder_.Path("out")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1303);
}

TEST_F(KPXRestoreTest, AnExistingFileIsReplacedOnlyWhenTheListenerAgrees) {
    WriteAllBytes(folder_.Path("out/s.bin"), "keep me");
    events_.RefuseOverwrite = true;
    EXPECT_FALSE(Restore(pieces_, folder_.Path("out")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1901);
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/s.bin")), "keep me");
    events_.RefuseOverwrite = false;
    ASSERT_TRUE(Restore(pieces_, folder_.Path("out")));
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/s.bin")), PatternBytes(3000));
}

TEST_F(KPXRestoreTest, CancelWhileTheSecondPieceIsCopiedLeavesNoRestoredFile) {
    events_.OnEvent = [&](const std::string& agLine) {
        if (agLine == "Reading 2/3 piece2.KPX") {
            cancel_->Cancel();
        }
    };
    EXPECT_FALSE(Restore(pieces_, folder_.Path("out")));
    EXPECT_EQ(sepaCtrl_->ErrorMng()->Count(), 0);
    EXPECT_TRUE(OutIsEmpty());
    EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 1);
}

TEST_F(KPXRestoreTest, AMissingDestinationIsFoundOnlyAfterTheSetWasChecked) {
    EXPECT_FALSE(Restore(pieces_, folder_.Path("nowhere")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1302);
    EXPECT_EQ(events_.Lines, (std::vector<std::string>{"ReadingHeaders", "Confirming"}));
}

TEST_F(KPXRestoreTest, APieceShorterThanItsHeaderSaysFailsInsteadOfPadding) {
    // Without the size check the header is believed until the data runs out.
    WriteAllBytes(pieces_[1], ReadAllBytes(pieces_[1]).substr(0, 140 + 600));
    job_ = RestoreJob(pieces_, folder_.Path("out"), 256);
    job_->SetConfirmDividoraSize(false);
    KPXSepaCtrl sepaCtrl;
    sepaCtrl.SetSepaData(job_);
    EXPECT_FALSE(sepaCtrl.Restore());
    EXPECT_EQ(OnlyError(sepaCtrl), 1402);
    EXPECT_TRUE(OutIsEmpty());

    EXPECT_FALSE(Restore(pieces_, folder_.Path("out")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1603) << "with the check it is refused up front";
    EXPECT_EQ(ErrorIndex(), 1);
}

TEST_F(KPXRestoreTest, ARestoredFileThatWouldReplaceAPieceIsRefused) {
    // The set restores into the folder where one of its pieces is called like the result.
    ::rename(pieces_[0].c_str(), folder_.Path("out/s.bin").c_str());
    EXPECT_FALSE(Restore({folder_.Path("out/s.bin"), pieces_[1], pieces_[2]}, folder_.Path("out")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1304);
    EXPECT_EQ(events_.Lines, (std::vector<std::string>{"ReadingHeaders", "Confirming"}))
        << "no overwrite question either";
    ::rename(folder_.Path("out/s.bin").c_str(), pieces_[0].c_str());

    for (const auto& makeLink : {&::link, &::symlink}) {
        makeLink(pieces_[2].c_str(), folder_.Path("out/s.bin").c_str());
        EXPECT_FALSE(Restore(pieces_, folder_.Path("out")));
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1304);
        EXPECT_EQ(ErrorIndex(), 2);
        EXPECT_EQ(ReadAllBytes(pieces_[2]).size(), 1140u);
        ::unlink(folder_.Path("out/s.bin").c_str());
    }
}

TEST_F(KPXRestoreTest, AFullDiskFailsWithItsCauseAndCleansUp) {
    for (bool clear : {true, false}) {
        job_ = RestoreJob(pieces_, folder_.Path("out"), 256);
        job_->SetClearCreatedFileWhenUncompleted(clear);
        KPXSepaCtrl sepaCtrl;
        sepaCtrl.SetSepaData(job_);
        bool done = true;
        {
            ScopedFileSizeLimit limit(1500);
            done = sepaCtrl.Restore();
        }
        EXPECT_FALSE(done);
        EXPECT_EQ(OnlyError(sepaCtrl), 1403);
        EXPECT_EQ(sepaCtrl.ErrorMng()->Description(1403).rfind(
                      "復元先ﾌｧｲﾙへの書き込みに失敗しました。 ", 0),
                  0u);
        EXPECT_EQ(OutIsEmpty(), clear);
        tkvFileString::DeleteFile(folder_.Path("out/s.bin"));
    }
}

TEST_F(KPXRestoreTest, PiecesOnAReadOnlyFileSystemRestore) {
    ScopedMount media(folder_.Path("media"), 1024 * 1024);
    if (!media.Available()) {
        GTEST_SKIP() << media.Why();
    }
    std::vector<std::string> onMedia;
    for (size_t i = 0; i < pieces_.size(); ++i) {
        onMedia.push_back(folder_.Path("media/" + std::to_string(i) + ".KPX"));
        WriteAllBytes(onMedia.back(), ReadAllBytes(pieces_[i]));
    }
    ASSERT_TRUE(media.MakeReadOnly());
    ASSERT_TRUE(Restore(onMedia, folder_.Path("out")));
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/s.bin")), PatternBytes(3000));
}

TEST_F(KPXRestoreTest, ACraftedSetCannotWriteOutsideTheDestination) {
    std::vector<std::string> crafted;
    for (int32_t turn = 0; turn < 2; ++turn) {
        KPXDividoraData record;
        record.SetSpecID(7);
        record.SetTurnID(turn);
        record.SetCount(2);
        record.SetFileName("../escape");
        record.SetFileSize(4);
        crafted.push_back(folder_.Path("evil" + std::to_string(turn) + ".KPX"));
        WriteTestPiece(crafted.back(), record, "EVIL");
    }
    EXPECT_FALSE(Restore(crafted, folder_.Path("out")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1604);
    EXPECT_EQ(ErrorIndex(), 0);
    EXPECT_EQ(tkvFileString::GetPathKind(folder_.Path("escape")), tkvFileString::kMissing);
    EXPECT_TRUE(OutIsEmpty());
}

}  // namespace
