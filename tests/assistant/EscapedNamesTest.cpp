#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AssistantTestWindow.h"
#include "KPXUISepaAss.h"
#include "PageTexts.h"
#include "tkvShowHTMLToIE.h"

namespace {

// A name with every character a page must escape, and how a page must show it.
const std::string kOdd = "q<&>\"'";
const std::string kOddShown = "q&lt;&amp;&gt;&quot;&#39;";

// Sources, pieces and folders whose paths and header names hold kOdd.
class KPXUISepaAssEscapingTest : public ::testing::Test {
protected:
    void SetUp() override {
        MakeFolder(folder_.Path(kOdd));
        MakeFolder(folder_.Path(kOdd + "/out"));
        WriteAllBytes(Path("/" + kOdd + ".bin"), PatternBytes(2000));
        window_.SeparateFileAddress = Path("/" + kOdd + ".bin");
        window_.SeparateFileMode = 2;
        window_.SeparateFileModeCount = "2";
        window_.SeparateFileSepaAddress = Path("");
        window_.SeparateFileDividoraName = kOdd;
        window_.SeparateFileHowToName = 2;
        window_.RestoreDividoraAddress = Path("/out");
    }

    // agRest below the odd folder, as it is and as a page shows it.
    std::string Path(const std::string& agRest) const { return folder_.Path(kOdd) + agRest; }
    std::string Shown(const std::string& agRest) const { return folder_.Path(kOddShown) + agRest; }
    static std::string Cell(const std::string& agText) {
        return "<td><font size=2><div nowrap>" + agText + "</div></font></td>";
    }

    // Runs agRun and returns its page, which must not hold the odd name unescaped.
    std::string PageOf(bool (KPXUISepaAss::*agRun)(), bool agResult) {
        assistant_ = std::make_unique<KPXUISepaAss>(window_);
        EXPECT_EQ(((*assistant_).*agRun)(), agResult);
        const std::string html = assistant_->ShowHTMLToIE()->HTML();
        EXPECT_EQ(html.find(kOdd), std::string::npos) << html;
        return html;
    }
    void Split() {
        KPXUISepaAss splitter(window_);
        ASSERT_TRUE(splitter.Separate());
    }

    TempFolder folder_;
    AssistantTestWindow window_;
    std::unique_ptr<KPXUISepaAss> assistant_;
};

bool Has(const std::string& agText, const std::string& agPart) {
    return agText.find(agPart) != std::string::npos;
}

TEST_F(KPXUISepaAssEscapingTest, TheSplitPagesEscapeTheSourceTheFolderAndThePieceNames) {
    const std::string estimate = PageOf(&KPXUISepaAss::EstimateSeparating, true);
    EXPECT_TRUE(Has(estimate, Cell(Shown("/" + kOddShown + ".bin")))) << estimate;
    EXPECT_TRUE(Has(estimate, "<tr>" + Cell(kOddShown + "1.KPX"))) << estimate;
    EXPECT_TRUE(Has(estimate, "<tr>" + Cell(kOddShown + "2.KPX"))) << estimate;

    const std::string log = PageOf(&KPXUISepaAss::Separate, true);
    EXPECT_TRUE(Has(log, Cell(Shown("/" + kOddShown + ".bin")))) << log;
    EXPECT_TRUE(Has(log, Cell(Shown("")))) << log;
}

TEST_F(KPXUISepaAssEscapingTest, TheRestorePagesEscapePieceAddressesAndTheHeaderName) {
    Split();
    const std::string p1 = Path("/" + kOdd + "1.KPX");
    const std::string p2 = Path("/" + kOdd + "2.KPX");
    const std::string p1Shown = Shown("/" + kOddShown + "1.KPX");
    const std::string p2Shown = Shown("/" + kOddShown + "2.KPX");
    const std::string missing = Path("/gone" + kOdd + ".KPX");
    const std::string missingShown = Shown("/gone" + kOddShown + ".KPX");

    window_.RestoreDividoraSepaAddress = {p1, p2, missing, p2};
    const std::string estimate = PageOf(&KPXUISepaAss::EstimateRestoring, true);
    EXPECT_TRUE(Has(estimate, "<tr>" + Cell(missingShown) + "</tr>")) << estimate;
    EXPECT_TRUE(Has(estimate, "<td><font size=2>" + kOddShown + ".bin</font></td>")) << estimate;
    EXPECT_TRUE(Has(estimate, Cell("適正") + Cell(p1Shown))) << estimate;
    EXPECT_TRUE(Has(estimate, "<div nowrap>" + p2Shown + "</div><div nowrap>" + p2Shown + "</div>"))
        << estimate;

    window_.RestoreDividoraSepaAddress = {p1, missing};
    const std::string failure = PageOf(&KPXUISepaAss::Restore, false);
    EXPECT_TRUE(Has(failure, page::FailedRestorePiece(missingShown))) << failure;

    window_.RestoreDividoraSepaAddress = {p2, p1};
    const std::string log = PageOf(&KPXUISepaAss::Restore, true);
    EXPECT_TRUE(Has(log, Cell(Shown("/out/" + kOddShown + ".bin")))) << log;
}

TEST_F(KPXUISepaAssEscapingTest, OutOfRangePiecesAndFailedSplitPiecesAreEscaped) {
    const std::string piece = Path("/far" + kOdd + ".KPX");
    WritePiece(Path("/first.KPX"), 7, DateOf(2024, 1, 2), 0, 1, kOdd, "x");
    WritePiece(piece, 7, DateOf(2024, 1, 2), 4, 1, kOdd, "y");
    window_.RestoreDividoraSepaAddress = {Path("/first.KPX"), piece};
    const std::string estimate = PageOf(&KPXUISepaAss::EstimateRestoring, true);
    EXPECT_TRUE(Has(estimate, page::OutOfRangeTable({{4, Shown("/far" + kOddShown + ".KPX")}})))
        << estimate;

    window_.SeparateFileSepaAddress = Path("/none");
    const std::string failure = PageOf(&KPXUISepaAss::Separate, false);
    EXPECT_TRUE(Has(failure, page::FailedSplitPiece(Shown("/none/" + kOddShown + "1.KPX"))))
        << failure;
}

TEST_F(KPXUISepaAssEscapingTest, TheLinkToThePageFileIsEscaped) {
    MakeFolder(Path("/pages"));
    ScopedEnvironment temporaryFolder("TMPDIR", Path("/pages"));
    window_.RestoreDividoraSepaAddress = {};
    const std::string html = PageOf(&KPXUISepaAss::EstimateRestoring, true);
    const std::string address = assistant_->ShowHTMLToIE()->Address();
    ASSERT_EQ(address.rfind(Path("/pages/"), 0), 0u) << address;
    const std::string shownAddress = Shown("/pages/") + address.substr(Path("/pages/").size());
    EXPECT_TRUE(Has(html, "<A href=\"" + shownAddress + "\" target=_blank>")) << html;
}

}  // namespace
