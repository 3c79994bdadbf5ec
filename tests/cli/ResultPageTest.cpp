#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CliCommandTest.h"
#include "ScopedMount.h"

namespace {

const std::string kPageNotWritten = "HTMLﾌｧｲﾙを正常に作成できませんでした。";

class ResultPageTest : public CliCommandTest {
protected:
    // A split of the source into two pieces with its page copied to agPage.
    std::vector<std::string> SplitWithPage(const std::string& agPage,
                                           const std::string& agFolder) const {
        return {"split", source_, "-o", agFolder, "--count", "2", "--html", agPage};
    }
    // The names in the test's folder that none of the tests put there.
    std::vector<std::string> Leftovers(const std::vector<std::string>& agExpected) const {
        std::vector<std::string> extra;
        for (const std::string& name : FolderEntries(folder_.Path())) {
            if (std::find(agExpected.begin(), agExpected.end(), name) == agExpected.end()) {
                extra.push_back(name);
            }
        }
        return extra;
    }
};

TEST_F(ResultPageTest, APageThatWouldReplaceAFileOfTheRunIsRefusedBeforeAnythingIsDone) {
    const std::string set = NewFolder("set");
    const auto listed = SplitInto(2, set);
    const std::string pieceBytes = ReadAllBytes(listed[0]);
    const std::string sourceBytes = ReadAllBytes(source_);
    std::filesystem::create_symlink(source_, folder_.Path("to-source.html"));
    std::filesystem::create_directory_symlink(pieces_, folder_.Path("to-pieces"));
    std::filesystem::create_hard_link(listed[0], folder_.Path("same-as-piece.html"));

    const std::vector<std::vector<std::string>> cases{
        SplitWithPage(source_, pieces_),
        SplitWithPage(source_, folder_.Path("missing")),
        SplitWithPage(folder_.Path("to-source.html"), pieces_),
        // Pieces not made yet: the same name in the same folder, also reached another way.
        SplitWithPage(pieces_ + "/a1.KPX", pieces_),
        SplitWithPage(pieces_ + "/A7f3e.kpx", pieces_),
        SplitWithPage(folder_.Path("to-pieces/a2.KPX"), pieces_),
        // A file that is a piece there already.
        SplitWithPage(folder_.Path("same-as-piece.html"), set),
        {"restore", listed[0], listed[1], "-o", restored_, "--html", listed[1]},
        {"restore", listed[0], listed[1], "-o", restored_, "--html",
         folder_.Path("same-as-piece.html")},
        {"restore", listed[0], listed[1], "-o", restored_, "--html", restored_ + "/a.bin"},
        {"restore", listed[0], listed[1], "-o", restored_, "--estimate", "--html",
         restored_ + "/a.bin"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.back());
        EXPECT_EQ(Run(arguments), DividoraCli::kBadUsage);
        EXPECT_EQ(err_.str().rfind("dividora-cli: --html ", 0), 0u) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
    EXPECT_EQ(ReadAllBytes(source_), sourceBytes);
    EXPECT_EQ(ReadAllBytes(listed[0]), pieceBytes);
    EXPECT_EQ(FolderEntries(set), (std::vector<std::string>{"a.xxh128", "a1.KPX", "a2.KPX"}));
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
}

TEST_F(ResultPageTest, AnExistingPageFileIsReplacedOnlyWithForce) {
    const std::string page = folder_.Path("page.html");
    WriteAllBytes(page, "keep me");
    EXPECT_EQ(Run(SplitWithPage(page, pieces_)), DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(err_.str(), "dividora-cli: " + page + " exists; --force replaces it"))
        << err_.str();
    EXPECT_EQ(ReadAllBytes(page), "keep me");
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{}) << "the run did not start";

    auto arguments = SplitWithPage(page, pieces_);
    arguments.push_back("--force");
    EXPECT_EQ(Run(arguments), DividoraCli::kDone) << err_.str();
    EXPECT_EQ(ReadAllBytes(page).rfind("<html><body>", 0), 0u);
    EXPECT_EQ(PieceNames(pieces_).size(), 2u);
    EXPECT_EQ(Leftovers({"a.bin", "page.html", "pieces", "restored"}), std::vector<std::string>{});

    // A folder is no page file, --force or not.
    arguments = SplitWithPage(restored_, NewFolder("more"));
    arguments.push_back("--force");
    EXPECT_EQ(Run(arguments), DividoraCli::kBadUsage);
    EXPECT_EQ(FolderEntries(folder_.Path("more")), std::vector<std::string>{});

    // Nor can the page go into a folder that is not there: said before the run, not after it.
    EXPECT_EQ(Run(SplitWithPage(folder_.Path("missing/page.html"), folder_.Path("more"))),
              DividoraCli::kFailed);
    EXPECT_EQ(err_.str().rfind("dividora-cli: --html ", 0), 0u) << err_.str();
    EXPECT_EQ(FolderEntries(folder_.Path("more")), std::vector<std::string>{});
}

TEST_F(ResultPageTest, APageCopyThatFailsLeavesTheOldFileWhole) {
    const std::string page = folder_.Path("page.html");
    const std::string old = PatternBytes(50);
    WriteAllBytes(page, old);
    int status = 0;
    {
        // An estimate writes no file itself: only the page files meet the limit.
        ScopedFileSizeLimit limit(100);
        status = Run({"split", source_, "-o", pieces_, "--count", "2", "--estimate", "--force",
                      "--html", page});
    }
    EXPECT_EQ(status, DividoraCli::kFailed);
    EXPECT_NE(err_.str().find(page + ": the page could not be written"), std::string::npos)
        << err_.str();
    EXPECT_EQ(ReadAllBytes(page), old);
    EXPECT_EQ(Leftovers({"a.bin", "page.html", "pieces", "restored"}), std::vector<std::string>{});
}

TEST_F(ResultPageTest, APageFileThatCannotBeWrittenIsAWarningAndTheRunKeepsItsStatus) {
    ScopedMount full(folder_.Path("full"), 4096);
    if (!full.Available()) {
        GTEST_SKIP() << full.Why();
    }
    WriteAllBytes(folder_.Path("full/filler"), std::string(4096, 'x'));
    ScopedEnvironment temporaryFolder("TMPDIR", folder_.Path("full"));
    Split(source_, pieces_, {"--count", "2"});
    EXPECT_NE(err_.str().find("dividora-cli: warning: " + kPageNotWritten), std::string::npos)
        << err_.str();
    EXPECT_TRUE(HasLine(out_.str(), "分割が完了しました。")) << out_.str();
    EXPECT_EQ(PieceNames(pieces_), (std::vector<std::string>{"a1.KPX", "a2.KPX"}));
}

}  // namespace
