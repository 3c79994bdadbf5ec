#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

#include "EngineJobs.h"
#include "KPXChecksumFile.h"
#include "TestFiles.h"
#include "tkvDigest.h"
#include "tkvFileString.h"

// The checksum file a split writes beside its pieces, and what a restore and a verify make of
// it: the proof that the restored bytes are the source's.
namespace {

class KPXChecksumTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::mkdir(folder_.Path("pieces").c_str(), 0755);
        ::mkdir(folder_.Path("out").c_str(), 0755);
        WriteAllBytes(folder_.Path("s.bin"), PatternBytes(30000));
        auto job = SplitJob(folder_.Path("s.bin"), {10000, 10000, 10000},
                            {Piece(1), Piece(2), Piece(3)}, 4096);
        job->SetChecksumFileAddress(Sums());
        KPXSepaCtrl split;
        split.SetSepaData(job);
        ASSERT_TRUE(split.Separate());
        EXPECT_EQ(split.SepaResult()->ChecksumFileAddress(), Sums());
    }

    std::string Piece(int agNumber) const {
        return folder_.Path("pieces/s" + std::to_string(agNumber) + ".KPX");
    }
    std::string Sums() const { return folder_.Path("pieces/s.xxh128"); }
    // Runs a restore (or a verify) of the three pieces into out/.
    bool Run(bool agVerify, const std::string& agChecksum = {}) {
        job_ = RestoreJob({Piece(3), Piece(1), Piece(2)}, folder_.Path("out"), 4096);
        job_->SetChecksumFileAddress(agChecksum);
        sepaCtrl_ = std::make_unique<KPXSepaCtrl>();
        sepaCtrl_->SetSepaData(job_);
        return agVerify ? sepaCtrl_->Verify() : sepaCtrl_->Restore();
    }
    // Flips one bit of the file at agOffset from its end (negative) or start.
    static void FlipBit(const std::string& agPath, long agOffset) {
        std::string bytes = ReadAllBytes(agPath);
        const size_t at = agOffset < 0 ? bytes.size() + agOffset : static_cast<size_t>(agOffset);
        bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
        WriteAllBytes(agPath, bytes);
    }
    std::string Cause(int32_t agNumber) const {
        return sepaCtrl_->ErrorMng()->Description(agNumber);
    }

    TempFolder folder_;
    std::shared_ptr<KPXSepaData> job_;
    std::unique_ptr<KPXSepaCtrl> sepaCtrl_;
};

TEST_F(KPXChecksumTest, TheFileListsEveryPieceAsXxhsumDoesAndTheSourceOnItsSetLine) {
    KPXChecksumFile sums;
    ASSERT_TRUE(sums.Read(Sums()));
    ASSERT_EQ(sums.Pieces.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sums.Pieces[static_cast<size_t>(i)].Name, "s" + std::to_string(i + 1) + ".KPX");
        EXPECT_EQ(sums.Pieces[static_cast<size_t>(i)].Digest,
                  tkvDigest::Of(ReadAllBytes(Piece(i + 1))));
    }
    EXPECT_EQ(sums.SourceDigest, tkvDigest::Of(PatternBytes(30000)));
    EXPECT_EQ(sums.Count, 3);
    const std::string text = ReadAllBytes(Sums());
    EXPECT_EQ(text.rfind("# dividora-set ", 0), 0u);
    EXPECT_NE(text.find("\n" + sums.Pieces[0].Digest + "  s1.KPX\n"), std::string::npos);
    EXPECT_EQ(FolderEntries(folder_.Path("pieces")),
              (std::vector<std::string>{"s.xxh128", "s1.KPX", "s2.KPX", "s3.KPX"}));
}

TEST_F(KPXChecksumTest, XxhsumChecksThePiecesWithIt) {
    if (std::system("command -v xxhsum >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "xxhsum is not installed";
    }
    const std::string check =
        "cd '" + folder_.Path("pieces") + "' && xxhsum -H2 -c s.xxh128 >/dev/null 2>&1";
    EXPECT_EQ(std::system(check.c_str()), 0);
    FlipBit(Piece(2), -5);
    EXPECT_NE(std::system(check.c_str()), 0) << "a damaged piece fails xxhsum too";
}

TEST_F(KPXChecksumTest, ARestoreBesideTheChecksumFileIsVerified) {
    ASSERT_TRUE(Run(false));
    EXPECT_TRUE(sepaCtrl_->SepaResult()->Verified());
    EXPECT_EQ(sepaCtrl_->SepaResult()->ChecksumFileAddress(), Sums());
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/s.bin")), PatternBytes(30000));

    // Renamed pieces are still the set's: the lines go by join order.
    for (int i = 1; i <= 3; ++i) {
        ::rename(Piece(i).c_str(), folder_.Path("pieces/renamed" + std::to_string(i)).c_str());
        ::symlink(folder_.Path("pieces/renamed" + std::to_string(i)).c_str(), Piece(i).c_str());
    }
    ::unlink(folder_.Path("out/s.bin").c_str());
    job_ = RestoreJob({folder_.Path("pieces/renamed1"), folder_.Path("pieces/renamed3"),
                       folder_.Path("pieces/renamed2")},
                      folder_.Path("out"), 4096);
    KPXSepaCtrl renamed;
    renamed.SetSepaData(job_);
    ASSERT_TRUE(renamed.Restore());
    EXPECT_TRUE(renamed.SepaResult()->Verified());
}

TEST_F(KPXChecksumTest, AFlippedBitFailsWithItsOwnCauseAndLeavesNothing) {
    const std::string piece2 = ReadAllBytes(Piece(2));
    const std::string sums = ReadAllBytes(Sums());
    struct Case {
        const char* Where;
        std::function<void()> Damage;
        int32_t Number;
    };
    const std::vector<Case> cases = {
        {"a piece's data", [&] { FlipBit(Piece(2), -100); }, 1406},
        {"the checksum file", [&] { FlipBit(Sums(), -20); }, 1306},
        {"a piece's header (its split identifier)", [&] { FlipBit(Piece(2), 115); }, 1702},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Where);
        WriteAllBytes(Piece(2), piece2);
        WriteAllBytes(Sums(), sums);
        test.Damage();
        for (bool verify : {false, true}) {
            EXPECT_FALSE(Run(verify));
            EXPECT_EQ(OnlyError(*sepaCtrl_), test.Number);
            EXPECT_EQ(FolderEntries(folder_.Path("out")), std::vector<std::string>{});
        }
    }
    WriteAllBytes(Piece(2), piece2);
    FlipBit(Piece(2), -100);
    EXPECT_FALSE(Run(false));
    EXPECT_NE(Cause(1406).find(Piece(2)), std::string::npos) << "the cause names the piece";
}

TEST_F(KPXChecksumTest, AChecksumFileOfAnotherSplitIsRefused) {
    // The same source split again, with its own checksum file.
    ::mkdir(folder_.Path("again").c_str(), 0755);
    auto job = SplitJob(folder_.Path("s.bin"), {15000, 15000},
                        {folder_.Path("again/a1.KPX"), folder_.Path("again/a2.KPX")}, 4096);
    job->SetChecksumFileAddress(folder_.Path("again/a.xxh128"));
    KPXSepaCtrl split;
    split.SetSepaData(job);
    ASSERT_TRUE(split.Separate());
    EXPECT_FALSE(Run(false, folder_.Path("again/a.xxh128")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1306);
    EXPECT_EQ(FolderEntries(folder_.Path("out")), std::vector<std::string>{});

    // Beside the pieces under the set's name, another split's file is refused as it stands...
    ::rename(folder_.Path("again/a.xxh128").c_str(), Sums().c_str());
    for (const bool verify : {false, true}) {
        EXPECT_FALSE(Run(verify));
        EXPECT_EQ(OnlyError(*sepaCtrl_), 1306);
        EXPECT_NE(Cause(1306).find(Sums()), std::string::npos) << Cause(1306);
    }
    // ...and so is one that names one of the pieces, whatever its name.
    std::string other = ReadAllBytes(Sums());
    other.replace(other.find("a1.KPX"), 6, "s1.KPX");
    ::unlink(Sums().c_str());
    WriteAllBytes(folder_.Path("pieces/renamed.xxh128"), other);
    EXPECT_FALSE(Run(false));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1306);

    // A checksum file that cannot be read says so, with the system's reason.
    EXPECT_FALSE(Run(false, folder_.Path("pieces")));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1308);
    EXPECT_EQ(Cause(1308), "ﾁｪｯｸｻﾑﾌｧｲﾙの読み込みに失敗しました。 " + folder_.Path("pieces") +
                               ": Is a directory");
}

TEST_F(KPXChecksumTest, AnotherSetsChecksumFileWhoseNameBeginsTheSetsIsNotTheSets) {
    // Set "s2" (s21 to s23.KPX) beside set "s" and its s.xxh128, without a checksum file.
    std::vector<std::string> pieces;
    for (int i = 1; i <= 3; ++i) {
        pieces.push_back(folder_.Path("pieces/s2" + std::to_string(i) + ".KPX"));
    }
    auto job = SplitJob(folder_.Path("s.bin"), {10000, 10000, 10000}, pieces, 4096);
    KPXSepaCtrl split;
    split.SetSepaData(job);
    ASSERT_TRUE(split.Separate());
    job_ = RestoreJob(pieces, folder_.Path("out"), 4096);
    sepaCtrl_ = std::make_unique<KPXSepaCtrl>();
    sepaCtrl_->SetSepaData(job_);
    ASSERT_TRUE(sepaCtrl_->Restore()) << Cause(1306);
    EXPECT_FALSE(sepaCtrl_->SepaResult()->Verified());
}

TEST_F(KPXChecksumTest, WithoutAChecksumFileARestoreIsNotVerifiedAndAVerifyFails) {
    ::unlink(Sums().c_str());
    // Another program's checksum file is no checksum file of the set.
    WriteAllBytes(folder_.Path("pieces/all.xxh128"), "0123  s1.KPX\n");
    ASSERT_TRUE(Run(false));
    EXPECT_FALSE(sepaCtrl_->SepaResult()->Verified());
    EXPECT_EQ(sepaCtrl_->SepaResult()->ChecksumFileAddress(), "");
    ::unlink(folder_.Path("out/s.bin").c_str());
    EXPECT_FALSE(Run(true));
    EXPECT_EQ(OnlyError(*sepaCtrl_), 1307);
}

TEST_F(KPXChecksumTest, AVerifyReadsAndWritesNothingAndNamesEveryPieceThatDiffers) {
    ASSERT_TRUE(Run(true));
    EXPECT_TRUE(sepaCtrl_->SepaResult()->Verified());
    EXPECT_EQ(sepaCtrl_->SepaResult()->CreatedFileCount(), 0);
    EXPECT_EQ(FolderEntries(folder_.Path("out")), std::vector<std::string>{});
    FlipBit(Piece(1), -1);
    FlipBit(Piece(3), -1);
    EXPECT_FALSE(Run(true));
    EXPECT_EQ(sepaCtrl_->SepaResult()->DifferingPieces(),
              (std::vector<std::string>{Piece(1), Piece(3)}));
    EXPECT_FALSE(Run(false));
    EXPECT_EQ(sepaCtrl_->SepaResult()->DifferingPieces(), std::vector<std::string>{Piece(1)})
        << "a restore stops at the first";
}

TEST_F(KPXChecksumTest, ARestoreIntoAPipeStreamsTheCheckedBytes) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::string received;
    std::thread reader([&] {
        char buffer[4096];
        ssize_t n = 0;
        while ((n = ::read(ends[0], buffer, sizeof buffer)) > 0) {
            received.append(buffer, static_cast<size_t>(n));
        }
    });
    job_ = RestoreJob({Piece(1), Piece(2), Piece(3)}, folder_.Path("out"), 4096);
    KPXSepaCtrl restore;
    restore.SetSepaData(job_);
    restore.SetOutputHandle(ends[1]);
    const bool done = restore.Restore();
    ::close(ends[1]);
    reader.join();
    ::close(ends[0]);
    ASSERT_TRUE(done);
    EXPECT_TRUE(restore.SepaResult()->Verified());
    EXPECT_EQ(received, PatternBytes(30000));
    EXPECT_EQ(FolderEntries(folder_.Path("out")), std::vector<std::string>{});
}

}  // namespace
