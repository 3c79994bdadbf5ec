#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
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
using PageSet = KPXUISepaAssWindow::PageSet;

// What differs between the four operations.
struct Row {
    Operation Op;
    bool (KPXUISepaAss::*Run)();
    PageSet Page;
    std::string Title;
};

const std::vector<Row> kRows = {
    {Operation::kEstimateSeparating, &KPXUISepaAss::EstimateSeparating,
     PageSet::kFramePageSeparateFile, page::kSplitEstimateTitle},
    {Operation::kEstimateRestoring, &KPXUISepaAss::EstimateRestoring,
     PageSet::kFramePageRestoreDividora, page::kRestoreEstimateTitle},
    {Operation::kSeparate, &KPXUISepaAss::Separate, PageSet::kFramePageSeparateFile,
     page::kSplitTitle},
    {Operation::kRestore, &KPXUISepaAss::Restore, PageSet::kFramePageRestoreDividora,
     page::kRestoreTitle},
};

const std::vector<Operation> kOperations = {Operation::kEstimateSeparating,
                                            Operation::kEstimateRestoring, Operation::kSeparate,
                                            Operation::kRestore};

class KPXUISepaAssFrameTest : public ::testing::Test {
protected:
    // A source, its three pieces, and a window set up to split and restore them.
    void SetUp() override {
        MakeFolder(folder_.Path("pieces"));
        MakeFolder(folder_.Path("out"));
        WriteAllBytes(folder_.Path("a.bin"), PatternBytes(3001));
        Prepare(window_);
        KPXUISepaAss splitter(window_);
        ASSERT_TRUE(splitter.Separate());
        MakeFolder(folder_.Path("pieces2"));
        window_.SeparateFileSepaAddress = folder_.Path("pieces2");
        window_.Calls.clear();
        window_.View(Operation::kSeparate).Addresses.clear();
    }

    void Prepare(AssistantTestWindow& ioWindow) const {
        ioWindow.SeparateFileAddress = folder_.Path("a.bin");
        ioWindow.SeparateFileMode = 2;
        ioWindow.SeparateFileModeCount = "3";
        ioWindow.SeparateFileSepaAddress = folder_.Path("pieces");
        ioWindow.SeparateFileDividoraName = "part";
        ioWindow.SeparateFileHowToName = 2;
        ioWindow.RestoreDividoraSepaAddress = {folder_.Path("pieces/part1.KPX"),
                                               folder_.Path("pieces/part2.KPX"),
                                               folder_.Path("pieces/part3.KPX")};
        ioWindow.RestoreDividoraAddress = folder_.Path("out");
    }

    TempFolder folder_;
    AssistantTestWindow window_;
};

TEST_F(KPXUISepaAssFrameTest, EachOperationLocksItsButtonAndPagesWhileItRuns) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(AssistantTestWindow::NameOf(row.Op));
        AssistantTestWindow window;
        Prepare(window);
        window.SeparateFileSepaAddress = folder_.Path("pieces2");
        window.RestoreDividoraAddress = folder_.Path("out");
        KPXUISepaAss assistant(window);
        int checks = 0;
        window.OnStatus = [&](Operation, const std::string&) {
            ++checks;
            EXPECT_FALSE(window.DoEnabled(row.Op));
            EXPECT_TRUE(window.Fixed(row.Page));
            EXPECT_TRUE(window.Fixed(PageSet::kFramePageBase));
            ASSERT_TRUE(assistant.CancelMng() != nullptr);
        };
        EXPECT_TRUE(assistant.CancelMng() == nullptr);

        EXPECT_TRUE((assistant.*row.Run)());

        EXPECT_GT(checks, 0);
        EXPECT_TRUE(assistant.CancelMng() == nullptr);
        const std::string op = AssistantTestWindow::NameOf(row.Op);
        const std::string pageSet = AssistantTestWindow::NameOf(row.Page);
        ASSERT_GE(window.Calls.size(), 6u);
        EXPECT_EQ(std::vector<std::string>(window.Calls.begin(), window.Calls.begin() + 3),
                  (std::vector<std::string>{"button " + op + " off", "fixed " + pageSet + " on",
                                            "fixed FramePageBase on"}));
        EXPECT_EQ(std::vector<std::string>(window.Calls.end() - 3, window.Calls.end()),
                  (std::vector<std::string>{"fixed FramePageBase off", "fixed " + pageSet + " off",
                                            "button " + op + " on"}));
        // No other button or page set is touched.
        int lockCalls = 0;
        for (const std::string& call : window.Calls) {
            lockCalls += call.rfind("button ", 0) == 0 || call.rfind("fixed ", 0) == 0;
        }
        EXPECT_EQ(lockCalls, 6);
    }
}

TEST_F(KPXUISepaAssFrameTest, EachOperationShowsItsPageInItsOwnViewFromItsOwnFile) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(AssistantTestWindow::NameOf(row.Op));
        AssistantTestWindow window;
        Prepare(window);
        window.SeparateFileSepaAddress = folder_.Path("pieces2");
        std::shared_ptr<tkvShowHTMLToIE> kept;
        std::string address;
        {
            KPXUISepaAss assistant(window);
            EXPECT_TRUE((assistant.*row.Run)());
            kept = assistant.ShowHTMLToIE();
            ASSERT_TRUE(kept != nullptr);
            address = kept->Address();
        }
        for (Operation other : kOperations) {
            EXPECT_EQ(window.View(other).Addresses, other == row.Op
                                                        ? std::vector<std::string>{address}
                                                        : std::vector<std::string>{});
        }
        const std::string& html = kept->HTML();
        const std::string frame = page::Page(address, row.Title, "");
        const std::string end = "</body></html>";
        EXPECT_EQ(html.substr(0, frame.size() - end.size()),
                  frame.substr(0, frame.size() - end.size()));
        EXPECT_EQ(html.substr(html.size() - end.size()), end);
        // The statuses end with the page being shown, then an empty label.
        const auto statuses = window.Statuses(row.Op);
        ASSERT_GE(statuses.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(statuses.end() - 2, statuses.end()),
                  (std::vector<std::string>{"結果を表示中...", ""}));
        // The page file holds the page as long as whoever shows it keeps its object.
        EXPECT_EQ(Cp932ToUtf8(ReadAllBytes(address)), html);
        kept.reset();
        EXPECT_FALSE(std::filesystem::exists(address));
    }
}

TEST_F(KPXUISepaAssFrameTest, EachOperationTellsWhatItIsDoingOnItsOwnLabel) {
    const std::vector<std::pair<Row, std::vector<std::string>>> expected = {
        {kRows[0], {"分割の実行予測を開始...", "分割をｼﾐｭﾚｰﾄ中...", "結果を表示中...", ""}},
        {kRows[1],
         {"復元の実行予測を開始...", "ﾍｯﾀﾞを読み込んでいます...",
          "分割IDなどの一致性を調べています...", "結合順を調べています...", "結果を表示中...", ""}},
        {kRows[2],
         {"分割を開始...", "分割元ﾌｧｲﾙを分割中(1/3)...", "分割元ﾌｧｲﾙを分割中(2/3)...",
          "分割元ﾌｧｲﾙを分割中(3/3)...", "結果を表示中...", ""}},
        {kRows[3],
         {"復元を開始...", "すべての分割ﾌｧｲﾙのﾍｯﾀﾞを読み込み中", "復元かどうかを確認中...",
          "復元元ﾌｧｲﾙを読み込み中(1/3)...", "復元元ﾌｧｲﾙを読み込み中(2/3)...",
          "復元元ﾌｧｲﾙを読み込み中(3/3)...", "結果を表示中...", ""}},
    };
    for (const auto& [row, statuses] : expected) {
        SCOPED_TRACE(AssistantTestWindow::NameOf(row.Op));
        window_.Calls.clear();
        KPXUISepaAss assistant(window_);
        EXPECT_TRUE((assistant.*row.Run)());
        for (Operation other : kOperations) {
            EXPECT_EQ(window_.Statuses(other),
                      other == row.Op ? statuses : std::vector<std::string>{});
        }
    }
}

TEST_F(KPXUISepaAssFrameTest, AWindowThatBeginsToCloseIsNotTouchedAgain) {
    {
        SCOPED_TRACE("closing during a split, which the window cancels");
        KPXUISepaAss assistant(window_);
        size_t mark = 0;
        window_.OnStatus = [&](Operation, const std::string& agText) {
            if (agText == "分割元ﾌｧｲﾙを分割中(2/3)...") {
                window_.Unloading = true;
                assistant.CancelMng()->Cancel();
                mark = window_.Calls.size();
            }
        };
        EXPECT_FALSE(assistant.Separate());
        EXPECT_GT(mark, 0u);
        EXPECT_EQ(window_.Calls.size(), mark);
        EXPECT_FALSE(window_.DoEnabled(Operation::kSeparate));
        EXPECT_TRUE(window_.Fixed(PageSet::kFramePageSeparateFile));
        EXPECT_TRUE(window_.Fixed(PageSet::kFramePageBase));
        EXPECT_TRUE(window_.View(Operation::kSeparate).Addresses.empty());
    }
    {
        SCOPED_TRACE("closing during a restore estimate that runs on");
        AssistantTestWindow window;
        Prepare(window);
        KPXUISepaAss assistant(window);
        size_t mark = 0;
        window.OnStatus = [&](Operation, const std::string& agText) {
            if (agText == "分割IDなどの一致性を調べています...") {
                window.Unloading = true;
                mark = window.Calls.size();
            }
        };
        assistant.EstimateRestoring();
        EXPECT_GT(mark, 0u);
        EXPECT_EQ(window.Calls.size(), mark);
        EXPECT_FALSE(window.DoEnabled(Operation::kEstimateRestoring));
        EXPECT_TRUE(window.Fixed(PageSet::kFramePageRestoreDividora));
        EXPECT_TRUE(window.Fixed(PageSet::kFramePageBase));
        EXPECT_TRUE(window.View(Operation::kEstimateRestoring).Addresses.empty());
    }
}

TEST_F(KPXUISepaAssFrameTest, WithoutAPageFileNoPageIsShownAndTheOperationFails) {
    ScopedEnvironment noTemporaryFolder("TMPDIR", folder_.Path("no such folder"));
    for (const Row& row : kRows) {
        SCOPED_TRACE(AssistantTestWindow::NameOf(row.Op));
        window_.Calls.clear();
        window_.Question.Answers = {1};
        KPXUISepaAss assistant(window_);
        EXPECT_FALSE((assistant.*row.Run)());
        for (Operation other : kOperations) {
            EXPECT_TRUE(window_.View(other).Addresses.empty());
        }
        ASSERT_TRUE(assistant.ShowHTMLToIE() != nullptr);
        EXPECT_EQ(assistant.ShowHTMLToIE()->Address(), "");
        // The locks are released all the same.
        EXPECT_TRUE(window_.DoEnabled(row.Op));
        EXPECT_FALSE(window_.Fixed(row.Page));
        EXPECT_FALSE(window_.Fixed(PageSet::kFramePageBase));
    }
    // Nothing was split or restored meanwhile.
    EXPECT_TRUE(FolderEntries(folder_.Path("pieces2")).empty());
    EXPECT_TRUE(FolderEntries(folder_.Path("out")).empty());
}

TEST_F(KPXUISepaAssFrameTest, APageThatCannotBeWrittenOrMadeSaysSoOnTheStatusLabel) {
    const std::string failure = "HTMLﾌｧｲﾙを正常に作成できませんでした。";
    MakeFolder(folder_.Path("pages"));
    struct Case {
        std::string Why;
        std::string TemporaryFolder;
        uint64_t FileSizeLimit;  // 0: none
        // A page that cannot be written leaves the estimate's own result; without a page file
        // there is no estimate at all.
        bool Result;
    };
    // An estimate writes no file itself, so the limit only meets the page file.
    const std::vector<Case> cases{
        {"the page file cannot be written", folder_.Path("pages"), 16, true},
        {"no page file can be made", folder_.Path("no such folder"), 0, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Why);
        window_.Calls.clear();
        ScopedEnvironment temporaryFolder("TMPDIR", k.TemporaryFolder);
        KPXUISepaAss assistant(window_);
        bool result = false;
        if (k.FileSizeLimit > 0) {
            ScopedFileSizeLimit limit(k.FileSizeLimit);
            result = assistant.EstimateSeparating();
        } else {
            result = assistant.EstimateSeparating();
        }
        EXPECT_EQ(result, k.Result);
        EXPECT_FALSE(assistant.PageShown());
        EXPECT_TRUE(window_.View(Operation::kEstimateSeparating).Addresses.empty());
        const auto statuses = window_.Statuses(Operation::kEstimateSeparating);
        ASSERT_FALSE(statuses.empty());
        EXPECT_EQ(statuses.back(), failure);
    }

    KPXUISepaAss shown(window_);
    EXPECT_TRUE(shown.EstimateSeparating());
    EXPECT_TRUE(shown.PageShown());
    EXPECT_EQ(window_.Statuses(Operation::kEstimateSeparating).back(), "");
}

}  // namespace
