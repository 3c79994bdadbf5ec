#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AssistantRunFixture.h"
#include "AssistantTestWindow.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "PageTexts.h"
#include "tkvCancelMng.h"
#include "tkvShowHTMLToIE.h"

namespace {

using Operation = KPXUISepaAssWindow::Operation;

class KPXUISepaAssRunTest : public AssistantRunFixture {
protected:
    // The report body of the page the last operation showed, checked against the frame.
    std::string ReportBody(const std::string& agTitle) const {
        const auto shown = assistant_->ShowHTMLToIE();
        const std::string frame = page::Page(shown->Address(), agTitle, "");
        const std::string& html = shown->HTML();
        const std::string end = "</body></html>";
        const size_t head = frame.size() - end.size();
        EXPECT_EQ(html.substr(0, head), frame.substr(0, head));
        EXPECT_EQ(html.substr(html.size() - end.size()), end);
        return html.substr(head, html.size() - head - end.size());
    }
    // Two files already stand where a split into two pieces will write.
    void PutOldPieces() {
        window_.SeparateFileModeCount = "2";
        WriteAllBytes(PiecePath(1), "old 1");
        WriteAllBytes(PiecePath(2), "old 2");
    }
    bool IsNewPiece(int agNumber) const {
        return ReadAllBytes(PiecePath(agNumber)).size() == 140u + (agNumber == 1 ? 1501u : 1500u);
    }
};

using KPXUISepaAssOverwriteTest = KPXUISepaAssRunTest;
using KPXUISepaAssCancelTest = KPXUISepaAssRunTest;

TEST_F(KPXUISepaAssOverwriteTest, YesReplacesOneFileAndAsksAgainForTheNext) {
    PutOldPieces();
    window_.Question.Answers = {1, 1};
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    EXPECT_TRUE(assistant_->Separate());
    EXPECT_EQ(window_.Question.Asked, (std::vector<std::string>{PiecePath(1), PiecePath(2)}));
    EXPECT_TRUE(IsNewPiece(1));
    EXPECT_TRUE(IsNewPiece(2));
    EXPECT_FALSE(assistant_->OverwriteAllFlag());
}

TEST_F(KPXUISepaAssOverwriteTest, AllReplacesEveryFileOfTheOperationAfterOneQuestion) {
    PutOldPieces();
    window_.Question.Answers = {2};
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    EXPECT_TRUE(assistant_->Separate());
    EXPECT_EQ(window_.Question.Asked, (std::vector<std::string>{PiecePath(1)}));
    EXPECT_TRUE(IsNewPiece(1));
    EXPECT_TRUE(IsNewPiece(2));
    EXPECT_TRUE(assistant_->OverwriteAllFlag());

    // The answer held for that operation only: the next assistant asks again.
    window_.Question.Answers = {2, 2};
    window_.Question.Asked.clear();
    KPXUISepaAss next(window_);
    EXPECT_FALSE(next.OverwriteAllFlag());
    EXPECT_TRUE(next.Separate());
    EXPECT_EQ(window_.Question.Asked, (std::vector<std::string>{PiecePath(1)}));
}

TEST_F(KPXUISepaAssOverwriteTest, AFlagSetBeforehandReplacesWithoutAsking) {
    PutOldPieces();
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    assistant_->SetOverwriteAllFlag(true);
    EXPECT_TRUE(assistant_->Separate());
    EXPECT_TRUE(window_.Question.Asked.empty());
    EXPECT_TRUE(IsNewPiece(1));
    EXPECT_TRUE(IsNewPiece(2));
}

TEST_F(KPXUISepaAssOverwriteTest, CancelStopsBeforeTheFirstFileIsReplaced) {
    // Answer 3 and a box closed any other way (0) mean the same.
    for (const std::vector<int32_t>& answers : {std::vector<int32_t>{3}, std::vector<int32_t>{}}) {
        SCOPED_TRACE(answers.empty() ? "closed" : "cancel");
        PutOldPieces();
        window_.Question.Answers = answers;
        window_.Question.Asked.clear();
        assistant_ = std::make_unique<KPXUISepaAss>(window_);
        EXPECT_FALSE(assistant_->Separate());
        EXPECT_EQ(window_.Question.Asked, (std::vector<std::string>{PiecePath(1)}));
        EXPECT_EQ(ReadAllBytes(PiecePath(1)), "old 1");
        EXPECT_EQ(ReadAllBytes(PiecePath(2)), "old 2");
        EXPECT_EQ(ReportBody(page::kSplitTitle),
                  page::FailureBody(page::kSplitFailed, {page::kOverwriteRefused},
                                    page::FailedSplitPiece(PiecePath(1))));
    }
}

TEST_F(KPXUISepaAssOverwriteTest, CancelAtTheSecondFileLeavesBothOldFilesAsTheyWere) {
    PutOldPieces();
    window_.Question.Answers = {1, 3};
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    EXPECT_FALSE(assistant_->Separate());
    // The first was only to be replaced when the whole split succeeded.
    EXPECT_EQ(FolderEntries(folder_.Path("pieces")),
              (std::vector<std::string>{"part1.KPX", "part2.KPX"}));
    EXPECT_EQ(ReadAllBytes(PiecePath(1)), "old 1");
    EXPECT_EQ(ReadAllBytes(PiecePath(2)), "old 2");
    EXPECT_EQ(ReportBody(page::kSplitTitle),
              page::FailureBody(page::kSplitFailed, {page::kOverwriteRefused},
                                page::FailedSplitPiece(PiecePath(2))));
}

TEST_F(KPXUISepaAssOverwriteTest, TheRestoredFileIsReplacedOnlyWhenTheUserAgrees) {
    {
        KPXUISepaAss splitter(window_);
        ASSERT_TRUE(splitter.Separate());
    }
    window_.RestoreDividoraSepaAddress = {PiecePath(1), PiecePath(2), PiecePath(3)};
    WriteAllBytes(folder_.Path("out/a.bin"), "old");

    window_.Question.Answers = {3};
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    EXPECT_FALSE(assistant_->Restore());
    EXPECT_EQ(window_.Question.Asked, (std::vector<std::string>{folder_.Path("out/a.bin")}));
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/a.bin")), "old");
    EXPECT_EQ(ReportBody(page::kRestoreTitle),
              page::FailureBody(page::kRestoreFailed, {page::kOverwriteRefused}));

    window_.Question.Answers = {1};
    window_.Question.Asked.clear();
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    EXPECT_TRUE(assistant_->Restore());
    EXPECT_EQ(window_.Question.Asked.size(), 1u);
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/a.bin")), PatternBytes(3001));
}

TEST_F(KPXUISepaAssCancelTest, ACancelDuringASplitShowsOnlyTheCancel) {
    window_.OnStatus = [this](Operation, const std::string& agText) {
        if (agText == "分割元ﾌｧｲﾙを分割中(2/3)...") {
            assistant_->CancelMng()->Cancel();
        }
    };
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    EXPECT_FALSE(assistant_->Separate());
    EXPECT_EQ(ReportBody(page::kSplitTitle), page::kRunCancelled + page::kBlockEnd);
    // The pieces written before the cancel are cleared away.
    EXPECT_TRUE(FolderEntries(folder_.Path("pieces")).empty());
    EXPECT_EQ(window_.Statuses(Operation::kSeparate).back(), "");
}

TEST_F(KPXUISepaAssCancelTest, ACancelDuringARestoreShowsOnlyTheCancel) {
    {
        KPXUISepaAss splitter(window_);
        ASSERT_TRUE(splitter.Separate());
    }
    window_.RestoreDividoraSepaAddress = {PiecePath(1), PiecePath(2), PiecePath(3)};
    window_.OnStatus = [this](Operation, const std::string& agText) {
        if (agText == "復元元ﾌｧｲﾙを読み込み中(2/3)...") {
            assistant_->CancelMng()->Cancel();
        }
    };
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    EXPECT_FALSE(assistant_->Restore());
    EXPECT_EQ(ReportBody(page::kRestoreTitle), page::kRunCancelled + page::kBlockEnd);
    EXPECT_TRUE(FolderEntries(folder_.Path("out")).empty());
}

}  // namespace
