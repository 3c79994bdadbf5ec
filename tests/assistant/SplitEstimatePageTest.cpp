#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AssistantTestWindow.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "PageTexts.h"
#include "tkvCancelMng.h"
#include "tkvShowHTMLToIE.h"

namespace {

using Operation = KPXUISepaAssWindow::Operation;

// The split estimate of a source in a folder of its own, with an empty destination folder.
class KPXUISepaAssSplitEstimateTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolder(folder_.Path("out"));
        window_.SeparateFileSepaAddress = folder_.Path("out");
        window_.SeparateFileDividoraName = "part";
    }

    // Runs the estimate and checks that the page it shows is agReportBody in the frame.
    bool Estimate(const std::string& agReportBody) {
        assistant_ = std::make_unique<KPXUISepaAss>(window_);
        const bool result = assistant_->EstimateSeparating();
        const auto shown = assistant_->ShowHTMLToIE();
        EXPECT_TRUE(shown != nullptr);
        if (shown) {
            EXPECT_EQ(shown->HTML(),
                      page::Page(shown->Address(), page::kSplitEstimateTitle, agReportBody));
        }
        // A dry run: nothing is written where the pieces would go.
        EXPECT_TRUE(FolderEntries(folder_.Path("out")).empty());
        return result;
    }

    TempFolder folder_;
    AssistantTestWindow window_;
    std::unique_ptr<KPXUISepaAss> assistant_;
};

TEST_F(KPXUISepaAssSplitEstimateTest, ByCountListsEachPieceWithTheHeaderOfTheSourceName) {
    WriteAllBytes(folder_.Path("a.bin"), PatternBytes(1001));
    // The path is shown as typed, not tidied up.
    window_.SeparateFileAddress = folder_.Path("./a.bin");
    window_.SeparateFileMode = 2;
    window_.SeparateFileModeCount = "2";

    // The header of "a.bin" is 140 bytes; 1001 bytes by 2 are 501 and 500.
    EXPECT_TRUE(Estimate(
        page::kBlock + page::kSplitEstimateDone + page::kBlock +
        page::SourceSection(folder_.Path("./a.bin"), "1001ﾊﾞｲﾄ") +
        page::PieceSection({{"part1.KPX", "641ﾊﾞｲﾄ"}, {"part2.KPX", "640ﾊﾞｲﾄ"}}, "140ﾊﾞｲﾄ") +
        page::kBlockEnd));
    EXPECT_TRUE(assistant_->EstimateVerdict());
}

TEST_F(KPXUISepaAssSplitEstimateTest, BySizeCutsPiecesWhoseSizeIncludesTheHeader) {
    WriteAllBytes(folder_.Path("a.bin"), PatternBytes(3000));
    window_.SeparateFileAddress = folder_.Path("a.bin");
    window_.SeparateFileMode = 1;
    window_.SeparateFileModeFileSize = "1";
    window_.SeparateFileModeFileSizeUnit = 1024;
    window_.SeparateFileHowToName = 3;

    // 1024 - 140 = 884 data bytes a piece: three full pieces and one of 348 + 140 bytes.
    EXPECT_TRUE(Estimate(page::kBlock + page::kSplitEstimateDone + page::kBlock +
                         page::SourceSection(folder_.Path("a.bin"), "2.9KB") +
                         page::PieceSection({{"part1.KPX", "1.0KB"},
                                             {"part2.KPX", "1.0KB"},
                                             {"part3.KPX", "1.0KB"},
                                             {"part4.KPX", "488ﾊﾞｲﾄ"}},
                                            "140ﾊﾞｲﾄ") +
                         page::kBlockEnd));
}

TEST_F(KPXUISepaAssSplitEstimateTest, AnEmptySourceGivesTheAddressCauseAndTheSizeCause) {
    window_.SeparateFileAddress = "";
    window_.SeparateFileModeCount = "2";

    EXPECT_TRUE(Estimate(page::kBlock + page::kSplitEstimateImpossible + page::kBlock +
                         page::kNoSourceCause + page::SizeCause(2) + page::kBlockEnd));
    EXPECT_FALSE(assistant_->EstimateVerdict());
}

TEST_F(KPXUISepaAssSplitEstimateTest, SizeCausesShowNoPieceTableAndNoErrorNumber) {
    WriteAllBytes(folder_.Path("a.bin"), PatternBytes(1000));
    window_.SeparateFileAddress = folder_.Path("a.bin");
    const std::string expected = page::kBlock + page::kSplitEstimateImpossible + page::kBlock +
                                 page::SourceSection(folder_.Path("a.bin"), "1000ﾊﾞｲﾄ") +
                                 page::SizeCause(1) + page::kBlockEnd;
    {
        SCOPED_TRACE("a piece count above the warning limit");
        window_.Settings().SetUpperCountToWarn(2);
        window_.SeparateFileMode = 2;
        window_.SeparateFileModeCount = "3";
        EXPECT_TRUE(Estimate(expected));
    }
    {
        SCOPED_TRACE("a size text that is no number");
        window_.Settings().SetUpperCountToWarn(100);
        window_.SeparateFileMode = 1;
        window_.SeparateFileModeFileSize = "abc";
        window_.SeparateFileModeFileSizeUnit = 1024;
        EXPECT_TRUE(Estimate(expected));
    }
}

TEST_F(KPXUISepaAssSplitEstimateTest, ANamingFailureGivesTheUnexpectedErrorCause) {
    WriteAllBytes(folder_.Path("a.bin"), PatternBytes(1000));
    window_.SeparateFileAddress = folder_.Path("a.bin");
    window_.SeparateFileModeCount = "2";
    window_.SeparateFileHowToName = 0;  // no naming method

    EXPECT_TRUE(Estimate(page::kBlock + page::kSplitEstimateImpossible + page::kBlock +
                         page::SourceSection(folder_.Path("a.bin"), "1000ﾊﾞｲﾄ") +
                         page::NamingCause(1) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssSplitEstimateTest, ACancelDuringTheDecisionsShowsTheirCausesNotTheCancel) {
    WriteAllBytes(folder_.Path("a.bin"), PatternBytes(1000));
    window_.SeparateFileAddress = folder_.Path("a.bin");
    window_.SeparateFileModeCount = "3";
    window_.OnStatus = [this](Operation, const std::string& agText) {
        if (agText == "分割をｼﾐｭﾚｰﾄ中...") {
            assistant_->CancelMng()->Cancel();
        }
    };

    EXPECT_TRUE(Estimate(page::kBlock + page::kSplitEstimateImpossible + page::kBlock +
                         page::SourceSection(folder_.Path("a.bin"), "1000ﾊﾞｲﾄ") +
                         page::SizeCause(1) + page::NamingCause(2) + page::kBlockEnd));
}

TEST_F(KPXUISepaAssSplitEstimateTest, ASourceNameTheHeaderCannotCarryFailsTheEstimate) {
    WriteAllBytes(folder_.Path("a😀.bin"), PatternBytes(1000));
    window_.SeparateFileAddress = folder_.Path("a😀.bin");
    window_.SeparateFileModeCount = "2";

    EXPECT_FALSE(Estimate(page::FailureBody(page::kSplitEstimateFailed, {page::kNameNotInHeader})));
    EXPECT_FALSE(assistant_->EstimateVerdict());
}

}  // namespace
