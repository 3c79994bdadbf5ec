#include <gtest/gtest.h>
#include <sys/stat.h>

#include <limits>

#include "EngineJobs.h"
#include "KPXDividoraData.h"
#include "KPXSetFinder.h"
#include "TestFiles.h"

namespace {

// Two splits of two files into one folder, with a file that is no piece and a piece renamed.
TEST(KPXSetFinderTest, TheSetsOfAFolderAreToldApartByTheirHeaders) {
    TempFolder folder;
    ::mkdir(folder.Path("mixed").c_str(), 0755);
    ::mkdir(folder.Path("other").c_str(), 0755);
    WriteAllBytes(folder.Path("a.bin"), PatternBytes(3000, 1));
    WriteAllBytes(folder.Path("b.bin"), PatternBytes(2000, 2));
    const auto a = SplitFile(folder.Path("a.bin"), folder.Path("mixed"), 0, 3);
    auto b = SplitFile(folder.Path("b.bin"), folder.Path("other"), 0, 2);
    ASSERT_EQ(a.size(), 3u);
    ASSERT_EQ(b.size(), 2u);
    for (size_t i = 0; i < b.size(); ++i) {
        const std::string moved = folder.Path("mixed/b-" + std::to_string(i + 1));
        ::rename(b[i].c_str(), moved.c_str());
        b[i] = moved;
    }
    // Named so that name order is not join order.
    ::rename(a[0].c_str(), folder.Path("mixed/zz-first-of-a").c_str());
    WriteAllBytes(folder.Path("mixed/notes.txt"), "no piece");

    const auto sets = KPXSetFinder::FindSets(folder.Path("mixed"));
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].FileName, "b.bin") << "b-1 comes first by name";
    EXPECT_EQ(sets[0].Pieces, b);
    EXPECT_EQ(sets[0].Count, 2);
    EXPECT_EQ(sets[1].FileName, "a.bin");
    EXPECT_EQ(sets[1].Pieces,
              (std::vector<std::string>{folder.Path("mixed/zz-first-of-a"), a[1], a[2]}));

    KPXSetFinder::Set found;
    ASSERT_TRUE(KPXSetFinder::FindSetOf(b[1], found));
    EXPECT_EQ(found.Pieces, b);
    EXPECT_FALSE(KPXSetFinder::FindSetOf(folder.Path("mixed/notes.txt"), found));
}

TEST(KPXSetFinderTest, PiecesWhoseDatesHoldTheSameBitsAreOneSetToEveryCheck) {
    // A damaged date may hold a NaN: equal to nothing as a number, yet stored alike in each.
    TempFolder folder;
    ::mkdir(folder.Path("set").c_str(), 0755);
    std::vector<std::string> pieces;
    for (int32_t turn = 0; turn < 2; ++turn) {
        KPXDividoraData record;
        record.SetSepaDate(std::numeric_limits<double>::quiet_NaN());
        record.SetSpecID(77);
        record.SetTurnID(turn);
        record.SetCount(2);
        record.SetFileName("n.bin");
        record.SetFileSize(3);
        pieces.push_back(folder.Path("set/n" + std::to_string(turn + 1) + ".KPX"));
        WriteTestPiece(pieces.back(), record, turn == 0 ? "abc" : "def");
    }
    const auto sets = KPXSetFinder::FindSets(folder.Path("set"));
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0].Pieces, pieces);
    ::mkdir(folder.Path("out").c_str(), 0755);
    EXPECT_EQ(RestoreFiles(pieces, folder.Path("out")), folder.Path("out/n.bin"));
    EXPECT_EQ(ReadAllBytes(folder.Path("out/n.bin")), "abcdef");
}

}  // namespace
