#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "AssistantTestWindow.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "PageTexts.h"
#include "tkvCancelMng.h"
#include "tkvShowHTMLToIE.h"

namespace {

using Operation = KPXUISepaAssWindow::Operation;

// Pieces written directly, so that every header field the page shows is known.
class KPXUISepaAssRestoreEstimateTest : public ::testing::Test {
protected:
    // Piece agTurnID of a split with agCount pieces of "a.bin", split ID agSpecID.
    std::string Piece(const std::string& agName, int32_t agSpecID, int32_t agTurnID,
                      int32_t agCount, double agDate = kDate) {
        const std::string path = folder_.Path(agName);
        WritePiece(path, agSpecID, agDate, agTurnID, agCount, "a.bin", PatternBytes(100, agTurnID));
        return path;
    }

    bool Estimate(const std::vector<std::string>& agList, const std::string& agReportBody) {
        window_.RestoreDividoraSepaAddress = agList;
        assistant_ = std::make_unique<KPXUISepaAss>(window_);
        const bool result = assistant_->EstimateRestoring();
        const auto shown = assistant_->ShowHTMLToIE();
        EXPECT_TRUE(shown != nullptr);
        if (shown) {
            EXPECT_EQ(shown->HTML(),
                      page::Page(shown->Address(), page::kRestoreEstimateTitle, agReportBody));
        }
        return result;
    }

    static inline const double kDate = DateOf(2024, 5, 10, 9, 0, 0);
    static inline const std::string kDateText = "2024/05/10 9:00:00";

    TempFolder folder_;
    AssistantTestWindow window_;
    std::unique_ptr<KPXUISepaAss> assistant_;
};

TEST_F(KPXUISepaAssRestoreEstimateTest, AnEmptyListCannotBeRestored) {
    EXPECT_TRUE(Estimate({}, page::kEmptyListBody));
    EXPECT_FALSE(assistant_->EstimateVerdict());
}

TEST_F(KPXUISepaAssRestoreEstimateTest, ACompleteSetInAnyOrderCanBeRestored) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 3);
    const std::string p1 = Piece("p1.KPX", 4711, 1, 3);
    const std::string p2 = Piece("p2.KPX", 4711, 2, 3);

    EXPECT_TRUE(Estimate({p2, p0, p1},
                         page::kBlock + page::kRestorable + page::kBlock + page::kOnlyKindTitle +
                             page::KindTable(4711, kDateText, 3, "a.bin") + page::kSlotsIntro +
                             page::SlotTable({{{p0}}, {{p1}}, {{p2}}}) + page::kBlockEnd));
    EXPECT_TRUE(assistant_->EstimateVerdict());
}

TEST_F(KPXUISepaAssRestoreEstimateTest, ThePiecesListedTwiceFillOneSlotTwice) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 3);
    const std::string p1 = Piece("p1.KPX", 4711, 1, 3);
    const std::string p2 = Piece("p2.KPX", 4711, 2, 3);

    EXPECT_TRUE(Estimate({p0, p1, p2, p1},
                         page::kBlock + page::kNotRestorable + page::kBlock + page::kOnlyKindTitle +
                             page::KindTable(4711, kDateText, 3, "a.bin") +
                             page::DuplicatedCause(1) + page::kSlotsIntro +
                             page::SlotTable({{{p0}}, {{p1, p1}}, {{p2}}}) + page::kBlockEnd));
    EXPECT_FALSE(assistant_->EstimateVerdict());
}

TEST_F(KPXUISepaAssRestoreEstimateTest, AMissingPieceLeavesItsSlotShort) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 3);
    const std::string p2 = Piece("p2.KPX", 4711, 2, 3);

    EXPECT_TRUE(Estimate(
        {p0, p2}, page::kBlock + page::kNotRestorable + page::kBlock + page::kOnlyKindTitle +
                      page::KindTable(4711, kDateText, 3, "a.bin") + page::ShortCause(1, 2) +
                      page::kSlotsIntro + page::SlotTable({{{p0}}, {}, {{p2}}}) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssRestoreEstimateTest, AJoinOrderIDOutsideTheCountIsListedApart) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 3);
    const std::string p1 = Piece("p1.KPX", 4711, 1, 3);
    const std::string p2 = Piece("p2.KPX", 4711, 2, 3);
    const std::string p5 = Piece("p5.KPX", 4711, 5, 3);

    // The slots themselves are complete, so their table says they can be restored.
    EXPECT_TRUE(Estimate({p0, p5, p1, p2},
                         page::kBlock + page::kNotRestorable + page::kBlock + page::kOnlyKindTitle +
                             page::KindTable(4711, kDateText, 3, "a.bin") +
                             page::OutOfRangeCause(1, 2) + page::kSlotsIntroRestorable +
                             page::SlotTable({{{p0}}, {{p1}}, {{p2}}}) +
                             page::OutOfRangeTable({{5, p5}}) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssRestoreEstimateTest, TheIDsJustOutsideTheRangeAreOutOfRange) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 2);
    const std::string p1 = Piece("p1.KPX", 4711, 1, 2);
    const std::string at2 = Piece("at2.KPX", 4711, 2, 2);
    const std::string below = Piece("below.KPX", 4711, -1, 2);

    EXPECT_TRUE(Estimate({at2, p0, below, p1},
                         page::kBlock + page::kNotRestorable + page::kBlock + page::kOnlyKindTitle +
                             page::KindTable(4711, kDateText, 2, "a.bin") +
                             page::OutOfRangeCause(1, 1) + page::kSlotsIntroRestorable +
                             page::SlotTable({{{p0}}, {{p1}}}) +
                             page::OutOfRangeTable({{2, at2}, {-1, below}}) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssRestoreEstimateTest, TwoKindsAreShownApartWithTheirOwnCauses) {
    const double midnight = DateOf(2023, 12, 1);
    const std::string a0 = Piece("a0.KPX", 111, 0, 2);
    const std::string a1 = Piece("a1.KPX", 111, 1, 2);
    const std::string b1 = Piece("b1.KPX", 222, 1, 3, midnight);
    const std::string b2 = Piece("b2.KPX", 222, 2, 3, midnight);

    EXPECT_TRUE(Estimate(
        {a0, b1, a1, b2},
        page::kBlock + page::kNotRestorable + page::kBlock + page::MixedKindsCause(1, 2) +
            page::KindTitle(1) + page::KindTable(111, kDateText, 2, "a.bin") +
            page::kSlotsIntroRestorable + page::SlotTable({{{a0}}, {{a1}}}) + page::KindTitle(2) +
            page::KindTable(222, "2023/12/01", 3, "a.bin") + page::ShortCause(2, 2) +
            page::kSlotsIntro + page::SlotTable({{}, {{b1}}, {{b2}}}) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssRestoreEstimateTest, PiecesWhoseDatesHoldTheSameBitsAreOneKind) {
    // A damaged date may hold a NaN: equal to nothing as a number, yet stored alike in both.
    const double notANumber = std::numeric_limits<double>::quiet_NaN();
    window_.RestoreDividoraSepaAddress = {Piece("p0.KPX", 4711, 0, 2, notANumber),
                                          Piece("p1.KPX", 4711, 1, 2, notANumber)};
    KPXUISepaAss assistant(window_);
    ASSERT_TRUE(assistant.EstimateRestoring());
    EXPECT_TRUE(assistant.EstimateVerdict());
    EXPECT_NE(assistant.ShowHTMLToIE()->HTML().find(page::kOnlyKindTitle), std::string::npos);
}

TEST_F(KPXUISepaAssRestoreEstimateTest, PiecesDifferingInOneHeaderFieldAreOtherKinds) {
    // Each differs from the first piece in one of the fields that make a kind.
    const std::string first = Piece("first.KPX", 111, 0, 1);
    const std::string otherID = Piece("id.KPX", 112, 0, 1);
    const std::string otherDate = Piece("date.KPX", 111, 0, 1, DateOf(2024, 5, 10, 9, 0, 1));
    const std::string otherCount = Piece("count.KPX", 111, 0, 2);
    const std::string otherName = folder_.Path("name.KPX");
    WritePiece(otherName, 111, kDate, 0, 1, "A.bin", "x");

    window_.RestoreDividoraSepaAddress = {first, otherID, otherDate, otherCount, otherName};
    KPXUISepaAss assistant(window_);
    ASSERT_TRUE(assistant.EstimateRestoring());
    EXPECT_NE(assistant.ShowHTMLToIE()->HTML().find(page::MixedKindsCause(1, 5)),
              std::string::npos);
}

TEST_F(KPXUISepaAssRestoreEstimateTest, OnlyUnreadableFilesLeaveNoKind) {
    const std::string missing = folder_.Path("missing.KPX");
    const std::string notAPiece = folder_.Path("notes.txt");
    WriteAllBytes(notAPiece, "not a piece at all, just some text");

    EXPECT_TRUE(Estimate({missing, notAPiece}, page::kBlock + page::kNotRestorable + page::kBlock +
                                                   page::UnreadableCause(1, {missing, notAPiece}) +
                                                   page::NoKindCause(2) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssRestoreEstimateTest, AnUnreadableFileBesideACompleteSetBlocksTheRestore) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 2);
    const std::string p1 = Piece("p1.KPX", 4711, 1, 2);
    const std::string missing = folder_.Path("missing.KPX");

    EXPECT_TRUE(Estimate(
        {p0, missing, p1},
        page::kBlock + page::kNotRestorable + page::kBlock + page::UnreadableCause(1, {missing}) +
            page::kOnlyKindTitle + page::KindTable(4711, kDateText, 2, "a.bin") +
            page::kSlotsIntroRestorable + page::SlotTable({{{p0}}, {{p1}}}) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssRestoreEstimateTest, AKindAboveTheWarningLimitIsNotAnalysed) {
    window_.Settings().SetUpperCountToWarn(2);
    // Piece 1 of 3 is missing, which goes unnoticed when the kind is not analysed.
    const std::string p0 = Piece("p0.KPX", 4711, 0, 3);
    const std::string p2 = Piece("p2.KPX", 4711, 2, 3);

    EXPECT_TRUE(Estimate({p0, p2}, page::kBlock + page::kRestorable + page::kBlock +
                                       page::kOnlyKindTitle +
                                       page::KindTable(4711, kDateText, 3, "a.bin") +
                                       page::kOverUpperCount + page::kBlockEnd));
}

TEST_F(KPXUISepaAssRestoreEstimateTest, APieceShortOfItsDataIsReadAsTheRestoreWouldReadIt) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 2);
    // Claims 1000 data bytes, holds 10: the whole file is shorter than the claim.
    const std::string p1 = folder_.Path("p1.KPX");
    WritePiece(p1, 4711, kDate, 1, 2, "a.bin", std::string(10, 'x'));
    const std::string bytes = ReadAllBytes(p1);
    WriteAllBytes(p1, Patched(bytes, 131 + 5, LongBytes(1000)));

    {
        SCOPED_TRACE("the data size is confirmed");
        window_.Settings().SetConfirmDividoraSize(true);
        EXPECT_TRUE(Estimate({p0, p1}, page::kBlock + page::kNotRestorable + page::kBlock +
                                           page::UnreadableCause(1, {p1}) + page::kOnlyKindTitle +
                                           page::KindTable(4711, kDateText, 2, "a.bin") +
                                           page::ShortCause(2, 1) + page::kSlotsIntro +
                                           page::SlotTable({{{p0}}, {}}) + page::kBlockEnd));
    }
    {
        SCOPED_TRACE("the data size is not confirmed");
        window_.Settings().SetConfirmDividoraSize(false);
        EXPECT_TRUE(Estimate(
            {p0, p1}, page::kBlock + page::kRestorable + page::kBlock + page::kOnlyKindTitle +
                          page::KindTable(4711, kDateText, 2, "a.bin") + page::kSlotsIntro +
                          page::SlotTable({{{p0}}, {{p1}}}) + page::kBlockEnd));
    }
}

TEST_F(KPXUISepaAssRestoreEstimateTest, ACancelWhileTheHeadersAreReadShowsOnlyTheCancel) {
    const std::string p0 = Piece("p0.KPX", 4711, 0, 2);
    const std::string p1 = Piece("p1.KPX", 4711, 1, 2);
    window_.OnStatus = [this](Operation, const std::string& agText) {
        if (agText == "ﾍｯﾀﾞを読み込んでいます...") {
            assistant_->CancelMng()->Cancel();
        }
    };

    EXPECT_FALSE(Estimate({p0, p1}, page::kRestoreEstimateCancelled + page::kBlockEnd));
    EXPECT_FALSE(assistant_->EstimateVerdict());
}

}  // namespace
