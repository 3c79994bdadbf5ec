#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AssistantRunFixture.h"
#include "AssistantTestWindow.h"
#include "KPXUISepaAss.h"
#include "KPXUtilSettings.h"
#include "PageTexts.h"
#include "tkvDateTime.h"
#include "tkvFileString.h"
#include "tkvShowHTMLToIE.h"

namespace {

using Operation = KPXUISepaAssWindow::Operation;

// Splits and restores of a source "a.bin" through the assistant, and the pages they leave.
class KPXUISepaAssExecutionLogTest : public AssistantRunFixture {
protected:
    // Runs agRun (a split or a restore) and checks the page it shows.
    bool Run(bool (KPXUISepaAss::*agRun)(), const std::string& agTitle,
             const std::string& agReportBody) {
        assistant_ = std::make_unique<KPXUISepaAss>(window_);
        const bool result = ((*assistant_).*agRun)();
        const auto shown = assistant_->ShowHTMLToIE();
        EXPECT_TRUE(shown != nullptr);
        if (shown) {
            EXPECT_EQ(shown->HTML(), page::Page(shown->Address(), agTitle, agReportBody));
        }
        return result;
    }
    bool Split(const std::string& agReportBody) {
        return Run(&KPXUISepaAss::Separate, page::kSplitTitle, agReportBody);
    }
    bool Restore(const std::string& agReportBody) {
        return Run(&KPXUISepaAss::Restore, page::kRestoreTitle, agReportBody);
    }
    // A split of a.bin into part1.KPX to part3.KPX, without looking at its page.
    void SplitIntoThree() {
        KPXUISepaAss assistant(window_);
        ASSERT_TRUE(assistant.Separate());
    }
};

TEST_F(KPXUISepaAssExecutionLogTest, ASplitIntoThreePiecesLogsItsSourceDestinationAndHeader) {
    const double before = tkvDateTime::Now();
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    ASSERT_TRUE(assistant_->Separate());
    const double after = tkvDateTime::Now();

    EXPECT_EQ(FolderEntries(folder_.Path("pieces")),
              (std::vector<std::string>{"part.xxh128", "part1.KPX", "part2.KPX", "part3.KPX"}));
    const PieceHeader header = ReadPieceHeader(PiecePath(1));
    EXPECT_EQ(ReadPieceHeader(PiecePath(3)).SpecID, header.SpecID);
    // The date stamped into the headers is the moment the run began.
    EXPECT_GE(header.SepaDate, before);
    EXPECT_LE(header.SepaDate, after);
    const auto shown = assistant_->ShowHTMLToIE();
    EXPECT_EQ(shown->HTML(),
              page::Page(shown->Address(), page::kSplitTitle,
                         page::SplitLogBody(folder_.Path("a.bin"), folder_.Path("pieces"), 3,
                                            header.SpecID, DateText(header.SepaDate),
                                            folder_.Path("pieces/part.xxh128"))));
}

TEST_F(KPXUISepaAssExecutionLogTest, ARestoreIntoAFolderWithATrailingSeparatorJoinsWithOne) {
    SplitIntoThree();
    const PieceHeader header = ReadPieceHeader(PiecePath(1));
    window_.RestoreDividoraSepaAddress = {PiecePath(3), PiecePath(1), PiecePath(2)};
    window_.RestoreDividoraAddress = folder_.Path("out") + "/";

    EXPECT_TRUE(Restore(page::RestoreLogBody(folder_.Path("out/a.bin"), 3, header.SpecID,
                                             folder_.Path("pieces/part.xxh128"))));
    EXPECT_EQ(ReadAllBytes(folder_.Path("out/a.bin")), PatternBytes(3001));
}

TEST_F(KPXUISepaAssExecutionLogTest, ARestoreWithoutAChecksumFileSaysItsDataWasNotChecked) {
    SplitIntoThree();
    ASSERT_TRUE(tkvFileString::DeleteFile(folder_.Path("pieces/part.xxh128")));
    const PieceHeader header = ReadPieceHeader(PiecePath(1));
    window_.RestoreDividoraSepaAddress = {PiecePath(1), PiecePath(2), PiecePath(3)};
    window_.RestoreDividoraAddress = folder_.Path("out");
    EXPECT_TRUE(Restore(page::RestoreLogBody(folder_.Path("out/a.bin"), 3, header.SpecID)));
}

TEST_F(KPXUISepaAssExecutionLogTest, AnEmptyDestinationFailsBeforeAnythingIsWritten) {
    window_.SeparateFileSepaAddress = "";
    EXPECT_FALSE(Split(page::FailureBody(page::kSplitFailed, {page::kNoSepaAddress})));
    EXPECT_TRUE(FolderEntries(folder_.Path("pieces")).empty());

    window_.SeparateFileSepaAddress = folder_.Path("pieces");
    SplitIntoThree();
    window_.RestoreDividoraSepaAddress = {PiecePath(1), PiecePath(2), PiecePath(3)};
    window_.RestoreDividoraAddress = "";
    EXPECT_FALSE(Restore(page::FailureBody(page::kRestoreFailed, {page::kNoRestoreAddress})));
}

TEST_F(KPXUISepaAssExecutionLogTest, TypedSizesAndCountsThatAreNoNumbersAreNamed) {
    struct Case {
        const char* Name;
        int32_t Mode;
        std::string Size;
        std::string Count;
        bool SourceExists;
        std::vector<std::string> Causes;
    };
    const std::vector<Case> cases = {
        {"size abc", 1, "abc", "", true, {page::kSizeNotNumeric}},
        {"size abc, no source", 1, "abc", "", false, {page::kSizeNotNumeric, page::kSourceMissing}},
        {"count abc", 2, "", "abc", true, {page::kCountNotNumeric}},
        {"count abc, no source",
         2,
         "",
         "abc",
         false,
         {page::kCountNotNumeric, page::kSourceMissing}},
        {"count 3, no source", 2, "", "3", false, {page::kSourceMissing}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        window_.SeparateFileMode = c.Mode;
        window_.SeparateFileModeFileSize = c.Size;
        window_.SeparateFileModeFileSizeUnit = 1024;
        window_.SeparateFileModeCount = c.Count;
        window_.SeparateFileAddress = folder_.Path(c.SourceExists ? "a.bin" : "gone.bin");
        EXPECT_FALSE(Split(page::FailureBody(page::kSplitFailed, c.Causes)));
        EXPECT_TRUE(FolderEntries(folder_.Path("pieces")).empty());
    }
}

TEST_F(KPXUISepaAssExecutionLogTest, ASizeBeyondThirtyTwoBitsIsAnUnexpectedError) {
    window_.SeparateFileMode = 1;
    window_.SeparateFileModeFileSize = "2";
    window_.SeparateFileModeFileSizeUnit = 1073741824;
    EXPECT_FALSE(Split(page::FailureBody(page::kSplitFailed, {page::kSizeNotDecided})));
    EXPECT_TRUE(FolderEntries(folder_.Path("pieces")).empty());
}

TEST_F(KPXUISepaAssExecutionLogTest, AFractionalSizeTimesItsUnitIsThePieceSize) {
    // 1.5 MB is 1572864 bytes a piece, header included: two full pieces and the rest.
    const int64_t pieceData = 1572864 - 140;
    WriteAllBytes(folder_.Path("a.bin"), PatternBytes(2 * pieceData + 1000));
    window_.SeparateFileMode = 1;
    window_.SeparateFileModeFileSize = "1.5";
    window_.SeparateFileModeFileSizeUnit = 1048576;
    assistant_ = std::make_unique<KPXUISepaAss>(window_);
    ASSERT_TRUE(assistant_->Separate());

    EXPECT_EQ(ReadAllBytes(PiecePath(1)).size(), 1572864u);
    EXPECT_EQ(ReadAllBytes(PiecePath(2)).size(), 1572864u);
    EXPECT_EQ(ReadAllBytes(PiecePath(3)).size(), 1000u + 140u);
}

TEST_F(KPXUISepaAssExecutionLogTest, AFailedSplitNamesThePieceItStoppedAt) {
    window_.SeparateFileSepaAddress = folder_.Path("no such folder");
    const std::string piece = folder_.Path("no such folder/part1.KPX");
    // The cause names the file and the system's reason.
    const std::string cause =
        std::string(page::kPieceNotOpened) + " " + piece + ": No such file or directory";
    EXPECT_FALSE(
        Split(page::FailureBody(page::kSplitFailed, {cause}, page::FailedSplitPiece(piece))));
}

TEST_F(KPXUISepaAssExecutionLogTest, AFailedRestoreNamesThePieceItStoppedAt) {
    SplitIntoThree();
    const std::string missing = folder_.Path("pieces/gone.KPX");
    window_.RestoreDividoraSepaAddress = {PiecePath(1), missing, PiecePath(3)};
    EXPECT_FALSE(Restore(page::FailureBody(page::kRestoreFailed, {page::kPieceMissing},
                                           page::FailedRestorePiece(missing))));
    EXPECT_TRUE(FolderEntries(folder_.Path("out")).empty());
}

TEST_F(KPXUISepaAssExecutionLogTest, AFullDiskFailsTheSplitWithItsCauseAndPiece) {
    WriteAllBytes(folder_.Path("a.bin"), PatternBytes(300000));
    window_.Settings().SetTransmissionByteSize(4096);
    bool result = true;
    {
        // Pieces of 100000 bytes cannot be written; the page file, far smaller, still can.
        ScopedFileSizeLimit limit(50000);
        assistant_ = std::make_unique<KPXUISepaAss>(window_);
        result = assistant_->Separate();
    }
    EXPECT_FALSE(result);
    const std::string html = assistant_->ShowHTMLToIE()->HTML();
    const std::string head = page::kBlock + page::kSplitFailed + page::kCausesHeading +
                             page::kBlock + "<font size=2><p>" + page::kPieceWriteFailed;
    EXPECT_EQ(html.find(head), html.find(page::kBlock)) << html;
    EXPECT_NE(html.find(page::FailedSplitPiece(PiecePath(1)) + page::kBlockEnd + "</body></html>"),
              std::string::npos)
        << html;
    // The pieces made before the failure are cleared away.
    EXPECT_TRUE(FolderEntries(folder_.Path("pieces")).empty());
}

}  // namespace
