#include <gtest/gtest.h>

#include "TestFiles.h"
#include "tkvFileRWCtrl.h"
#include "tkvVerRWCtrl.h"

namespace {

const std::string kName = "Tarno.K.V. Dividora";
const std::string kComment = "Tarno.K.V. Soft by R.N.";
const std::string kPieceKind = "Tarno.K.V. Separated File by Dividora Application";
const std::string kSettingsKind = "Tarno.K.V. File for Utility of Dividora Application";

tkvVerRWCtrl Block(tkvFileRWCtrl* agFile, const std::string& agKind, int32_t agVersion) {
    tkvVerRWCtrl block;
    block.SetFileRWCtrl(agFile);
    block.SetProductName(kName);
    block.SetProductComment(kComment);
    block.SetFileKind(agKind);
    block.SetFileVersion(agVersion);
    return block;
}

class tkvVerRWCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        file_.SetFileAddress(folder_.Path("block"));
        ASSERT_TRUE(file_.OpenForBinary());
    }
    // Writes a block with agVersion and checks it against the expectation.
    int32_t SaveThenCheck(tkvVerRWCtrl agWritten, tkvVerRWCtrl agExpected) {
        EXPECT_TRUE(agWritten.Save());
        file_.SetCurrentPoint(1);
        return agExpected.Check();
    }

    TempFolder folder_;
    tkvFileRWCtrl file_;
};

TEST_F(tkvVerRWCtrlTest, PieceBlockIsTheExact107Bytes) {
    ASSERT_TRUE(Block(&file_, kPieceKind, 1).Save());
    EXPECT_EQ(file_.CurrentPoint(), 108);
    file_.CloseFile();
    const std::string expected = LongBytes(19) + kName + LongBytes(23) + kComment + LongBytes(49) +
                                 kPieceKind + LongBytes(1);
    EXPECT_EQ(ReadAllBytes(folder_.Path("block")), expected);
    EXPECT_EQ(expected.size(), 107u);
}

TEST_F(tkvVerRWCtrlTest, SizeOfVersionForBothKindsAndEmptyTexts) {
    EXPECT_EQ(Block(nullptr, kPieceKind, 1).GetSizeOfVersion(), 107);
    EXPECT_EQ(Block(nullptr, kSettingsKind, 8).GetSizeOfVersion(), 109);
    EXPECT_EQ(tkvVerRWCtrl().GetSizeOfVersion(), 16);
}

TEST_F(tkvVerRWCtrlTest, CheckTellsSameOlderNewerAndForeign) {
    EXPECT_EQ(SaveThenCheck(Block(&file_, kPieceKind, 1), Block(&file_, kPieceKind, 1)), 3);
    EXPECT_EQ(file_.CurrentPoint(), 108) << "positioned after the block";
    file_.SetCurrentPoint(1);
    EXPECT_EQ(SaveThenCheck(Block(&file_, kPieceKind, 0), Block(&file_, kPieceKind, 1)), 1);
    file_.SetCurrentPoint(1);
    EXPECT_EQ(SaveThenCheck(Block(&file_, kSettingsKind, 9), Block(&file_, kSettingsKind, 8)), 2);
    file_.SetCurrentPoint(1);
    EXPECT_EQ(SaveThenCheck(Block(&file_, kPieceKind, 1), Block(&file_, kSettingsKind, 8)), 0);
}

TEST_F(tkvVerRWCtrlTest, LetterCaseAndEmptyFilesAreForeign) {
    tkvVerRWCtrl upper = Block(&file_, kPieceKind, 1);
    upper.SetProductName("TARNO.K.V. DIVIDORA");
    EXPECT_EQ(SaveThenCheck(upper, Block(&file_, kPieceKind, 1)), 0);

    tkvFileRWCtrl empty;
    empty.SetFileAddress(folder_.Path("empty"));
    ASSERT_TRUE(empty.OpenForBinary());
    EXPECT_EQ(Block(&empty, kPieceKind, 1).Check(), 0);
}

TEST_F(tkvVerRWCtrlTest, ALengthAbove64StopsAtOnce) {
    file_.CloseFile();
    WriteAllBytes(folder_.Path("long"), LongBytes(65) + std::string(65, 'x'));
    tkvFileRWCtrl file;
    file.SetFileAddress(folder_.Path("long"));
    ASSERT_TRUE(file.OpenForBinary());
    EXPECT_EQ(Block(&file, kPieceKind, 1).Check(), 0);
    EXPECT_EQ(file.CurrentPoint(), 5);
}

}  // namespace
