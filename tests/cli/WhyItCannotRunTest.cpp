#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CliCommandTest.h"
#include "ScopedMount.h"

namespace {

const std::string kRestorable = "指定された分割ﾌｧｲﾙは復元できます。";

using WhyItCannotRunTest = CliCommandTest;

TEST_F(WhyItCannotRunTest, ARunThatStopsOnAnExistingTargetNamesItAndForce) {
    WriteAllBytes(pieces_ + "/a2.KPX", "keep me");
    EXPECT_EQ(Run({"split", source_, "-o", pieces_, "--count", "3"}), DividoraCli::kFailed);
    EXPECT_TRUE(
        HasLine(err_.str(), "dividora-cli: " + pieces_ + "/a2.KPX exists; --force replaces it"))
        << err_.str();

    const auto listed = SplitInto(3, NewFolder("set"));
    WriteAllBytes(restored_ + "/a.bin", "keep me");
    EXPECT_EQ(Run({"restore", listed[0], listed[1], listed[2], "-o", restored_}),
              DividoraCli::kFailed);
    EXPECT_TRUE(
        HasLine(err_.str(), "dividora-cli: " + restored_ + "/a.bin exists; --force replaces it"))
        << err_.str();
}

TEST_F(WhyItCannotRunTest, AnOutputThatCannotBeOpenedIsNamedWithTheSystemsReason) {
    const std::string fifo = folder_.Path("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const auto listed = SplitInto(3, NewFolder("set"));
    struct Case {
        std::vector<std::string> Arguments;
        std::string Cause;
    };
    const std::vector<Case> cases{
        {{"split", source_, "-o", folder_.Path("missing"), "--count", "3"},
         "分割先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。 " + folder_.Path("missing") +
             "/a1.KPX: No such file or directory"},
        {{"split", source_, "-o", source_, "--count", "3"},
         "分割先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。 " + source_ + "/a1.KPX: Not a directory"},
        {{"restore", listed[0], listed[1], listed[2], "-o", fifo},
         "復元先ﾌｧｲﾙのｵｰﾌﾟﾝに失敗しました。 " + fifo + "/a.bin: Not a directory"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.Cause);
        EXPECT_EQ(Run(test.Arguments), DividoraCli::kFailed);
        EXPECT_EQ(FirstCause(), test.Cause) << err_.str();
    }
}

TEST_F(WhyItCannotRunTest, ASplitAboveThePieceLimitSaysHowManyPiecesItWouldMake) {
    // 1140 bytes a piece carry 1000 of the 10000: ten pieces.
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--count", "4", "--max-pieces", "3"}, "4 pieces, more than --max-pieces 3"},
        {{"--size", "1140", "--max-pieces", "9"}, "10 pieces, more than --max-pieces 9"},
        {{"--size", "1141", "--max-pieces", "9", "--estimate"},
         "10 pieces, more than --max-pieces 9"},
        {{"--count", "101"}, "101 pieces, more than --max-pieces 100"},
    };
    for (const auto& [options, said] : cases) {
        std::vector<std::string> arguments{"split", source_, "-o", pieces_};
        arguments.insert(arguments.end(), options.begin(), options.end());
        SCOPED_TRACE(said);
        EXPECT_EQ(Run(arguments), DividoraCli::kFailed);
        EXPECT_TRUE(HasLine(err_.str(), "dividora-cli: the split would make " + said + " allows"))
            << err_.str();
    }
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
}

TEST_F(WhyItCannotRunTest, ARestoreEstimateThatLeftASetUncheckedFails) {
    auto listed = SplitInto(5, pieces_);
    const auto estimate = [&](const std::vector<std::string>& agPieces,
                              const std::string& agMaxPieces) {
        std::vector<std::string> arguments{"restore"};
        arguments.insert(arguments.end(), agPieces.begin(), agPieces.end());
        arguments.insert(arguments.end(), {"-o", restored_, "--estimate"});
        if (!agMaxPieces.empty()) {
            arguments.insert(arguments.end(), {"--max-pieces", agMaxPieces});
        }
        return Run(arguments);
    };
    const std::string unchecked =
        "dividora-cli: a set of 5 pieces is above --max-pieces 4, so the estimate did not check "
        "it; give --max-pieces 5 to check it";
    EXPECT_EQ(estimate(listed, ""), DividoraCli::kDone) << err_.str();

    // A piece is missing, which an unchecked set cannot show.
    listed.pop_back();
    EXPECT_EQ(estimate(listed, "4"), DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(err_.str(), unchecked)) << err_.str();
    EXPECT_TRUE(HasLine(out_.str(), kRestorable)) << "the page stays as it is: " << out_.str();
    EXPECT_EQ(estimate(listed, "5"), DividoraCli::kFailed);
    EXPECT_FALSE(HasLine(err_.str(), unchecked)) << err_.str();
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
}

TEST_F(WhyItCannotRunTest, AnEstimateChecksTheDestinationItsRunWouldStopOn) {
    const auto listed = SplitInto(3, NewFolder("set"));
    const std::string missing = folder_.Path("missing");
    WriteAllBytes(pieces_ + "/a2.KPX", "keep me");
    WriteAllBytes(pieces_ + "/aZ.KPX", "no name a split gives");
    std::filesystem::create_directory(pieces_ + "/a3.KPX");
    const std::string random = NewFolder("random");
    WriteAllBytes(random + "/a7F3E.KPX", "keep me");
    WriteAllBytes(restored_ + "/a.bin", "keep me");
    struct Case {
        std::vector<std::string> Arguments;
        std::vector<std::string> Said;  // after "dividora-cli: ", in order
    };
    const std::vector<Case> cases{
        {{"split", source_, "-o", missing, "--count", "3"},
         {"-o " + missing + ": the folder does not exist"}},
        {{"split", source_, "-o", source_, "--count", "3"}, {"-o " + source_ + ": not a folder"}},
        {{"split", source_, "-o", pieces_, "--count", "3"},
         {pieces_ + "/a2.KPX exists; --force replaces it",
          pieces_ + "/a3.KPX is there and no regular file (ﾌｫﾙﾀﾞ): no run replaces it"}},
        {{"split", source_, "-o", pieces_, "--count", "3", "--force"},
         {pieces_ + "/a3.KPX is there and no regular file (ﾌｫﾙﾀﾞ): no run replaces it"}},
        {{"split", source_, "-o", random, "--count", "3", "--naming", "random"},
         {random + "/a7F3E.KPX exists and a random name may fall on it; --force replaces it"}},
        {{"restore", listed[0], listed[1], listed[2], "-o", restored_},
         {restored_ + "/a.bin exists; --force replaces it"}},
        {{"restore", listed[0], listed[1], listed[2], "-o", missing},
         {"-o " + missing + ": the folder does not exist"}},
    };
    for (const Case& k : cases) {
        auto arguments = k.Arguments;
        arguments.push_back("--estimate");
        SCOPED_TRACE(k.Said.front());
        EXPECT_EQ(Run(arguments), DividoraCli::kFailed);
        std::vector<std::string> said;
        for (const std::string& line : Lines(err_.str())) {
            said.push_back(line.substr(std::string("dividora-cli: ").size()));
        }
        EXPECT_EQ(said, k.Said);
    }
    // Ready destinations pass.
    EXPECT_EQ(Run({"split", source_, "-o", random, "--count", "3", "--estimate"}),
              DividoraCli::kDone)
        << err_.str();
    EXPECT_EQ(
        Run({"restore", listed[0], listed[1], listed[2], "-o", restored_, "--estimate", "--force"}),
        DividoraCli::kDone)
        << err_.str();
    EXPECT_EQ(FolderEntries(pieces_), (std::vector<std::string>{"a2.KPX", "a3.KPX", "aZ.KPX"}));
    EXPECT_EQ(ReadAllBytes(restored_ + "/a.bin"), "keep me");
}

TEST_F(WhyItCannotRunTest, AnEstimateIntoAFolderThatCannotBeWrittenFails) {
    const std::string folder = folder_.Path("locked");
    std::unique_ptr<ScopedMount> mount;
    if (RunningAsRoot()) {
        // Root writes whatever the permissions; a read-only file system stops it.
        mount = std::make_unique<ScopedMount>(folder, 64 * 1024);
        if (!mount->Available() || !mount->MakeReadOnly()) {
            GTEST_SKIP() << mount->Why();
        }
    } else {
        std::filesystem::create_directory(folder);
        ::chmod(folder.c_str(), 0555);
    }
    EXPECT_EQ(Run({"split", source_, "-o", folder, "--count", "3", "--estimate"}),
              DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(err_.str(), "dividora-cli: -o " + folder + ": the folder is not writable"))
        << err_.str();
}

}  // namespace
