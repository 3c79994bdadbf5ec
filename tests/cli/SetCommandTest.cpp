#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "CliCommandTest.h"

// verify, and restore of a folder's set or of --find's set: the tool finds the pieces by their
// headers and tells what it found; restore -o - pours the checked file into a pipe.
namespace {

const std::string kDataDiffers = "復元元ﾌｧｲﾙのﾁｪｯｸｻﾑが一致しません。";
const std::string kNoChecksumFile = "ﾁｪｯｸｻﾑﾌｧｲﾙが見つかりません。";

class SetCommandTest : public CliCommandTest {
protected:
    // A second set in the pieces folder: "b.bin" of 5000 bytes in two pieces.
    std::vector<std::string> SplitSecondSet() {
        const std::string other = folder_.Path("b.bin");
        WriteAllBytes(other, PatternBytes(5000, 7));
        Split(other, pieces_, {"--count", "2"});
        return PathsIn(pieces_, {"b1.KPX", "b2.KPX"});
    }

    // Runs the built tool with its standard output on a pipe; its bytes and exit status.
    static int RunIntoPipe(const std::string& agArguments, const std::string& agErrFile,
                           std::string& ouBytes) {
        const std::string command =
            std::string("'") + DIVIDORA_CLI_PROGRAM + "' " + agArguments + " 2>'" + agErrFile + "'";
        FILE* pipe = ::popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return -1;
        }
        char buffer[65536];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            ouBytes.append(buffer, n);
        }
        const int status = ::pclose(pipe);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(SetCommandTest, AVerifyNamesEachPieceAndWritesNothing) {
    const auto pieces = SplitInto(3, pieces_);
    const auto before = FolderEntries(folder_.Path(""));
    ASSERT_EQ(Run({"verify", pieces[2], pieces[0], pieces[1]}), DividoraCli::kDone) << err_.str();
    for (const std::string& piece : pieces) {
        EXPECT_TRUE(HasLine(out_.str(), piece + ": OK")) << out_.str();
    }
    EXPECT_NE(
        out_.str().find("a.bin: 3 pieces, complete, from one split, intact (checked against " +
                        pieces_ + "/a.xxh128)"),
        std::string::npos)
        << out_.str();
    EXPECT_EQ(FolderEntries(folder_.Path("")), before);

    // Two damaged pieces are both named; the other is still OK.
    for (const std::string& piece : {pieces[0], pieces[2]}) {
        std::string bytes = ReadAllBytes(piece);
        bytes[bytes.size() - 10] ^= 0x01;
        WriteAllBytes(piece, bytes);
    }
    EXPECT_EQ(Run({"verify", pieces_}), DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(err_.str(), pieces[0] + ": FAILED")) << err_.str();
    EXPECT_TRUE(HasLine(out_.str(), pieces[1] + ": OK")) << out_.str();
    EXPECT_TRUE(HasLine(err_.str(), pieces[2] + ": FAILED")) << err_.str();
    EXPECT_TRUE(HasLine(err_.str(), "dividora-cli: " + kDataDiffers + " " + pieces[0]))
        << err_.str();
    EXPECT_EQ(FolderEntries(folder_.Path("")), before);

    // Without a checksum file nothing proves the bytes: a verify fails, a restore goes on.
    std::filesystem::remove(pieces_ + "/a.xxh128");
    const auto fresh = SplitInto(2, NewFolder("fresh"));
    std::filesystem::remove(folder_.Path("fresh/a.xxh128"));
    EXPECT_EQ(Run({"verify", fresh[0], fresh[1]}), DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(err_.str(), "dividora-cli: " + kNoChecksumFile)) << err_.str();
    Restore(fresh, restored_);
    EXPECT_TRUE(HasLine(out_.str(), "ﾃﾞｰﾀの検証\tﾁｪｯｸｻﾑﾌｧｲﾙがないため、検証していません。"))
        << out_.str();
}

TEST_F(SetCommandTest, AChecksumFileKeptElsewhereIsGivenWithTheChecksumOption) {
    const auto pieces = SplitInto(2, pieces_);
    const std::string kept = folder_.Path("kept.xxh128");
    std::filesystem::rename(pieces_ + "/a.xxh128", kept);
    ASSERT_EQ(Run({"verify", pieces_, "--checksum", kept}), DividoraCli::kDone) << err_.str();
    EXPECT_EQ(Run({"restore", pieces_, "-o", restored_, "--checksum", kept}), DividoraCli::kDone)
        << err_.str();
    EXPECT_TRUE(HasLine(out_.str(), "ﾃﾞｰﾀの検証\tﾁｪｯｸｻﾑﾌｧｲﾙと一致しました。")) << out_.str();
    EXPECT_TRUE(Holds(restored_ + "/a.bin", ReadAllBytes(source_)));
}

TEST_F(SetCommandTest, AFolderOfSeveralSetsIsRefusedUntilOneIsNamed) {
    const auto a = SplitInto(3, pieces_);
    const auto b = SplitSecondSet();
    // Whatever the pieces are called, their headers tell the sets apart.
    std::filesystem::rename(a[1], pieces_ + "/zz-renamed");
    const std::string renamed = pieces_ + "/zz-renamed";
    for (const std::string command : {"restore", "verify"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> arguments{command, pieces_};
        if (std::string(command) == "restore") {
            arguments.insert(arguments.end(), {"-o", restored_});
        }
        EXPECT_EQ(Run(arguments), DividoraCli::kFailed);
        const auto lines = Lines(err_.str());
        ASSERT_EQ(lines.size(), 3u) << err_.str();
        EXPECT_EQ(lines[0], "dividora-cli: " + pieces_ +
                                " holds pieces of 2 sets; name one with --find PIECE:");
        EXPECT_EQ(lines[1].rfind("  3 of 3 pieces of a.bin (split ", 0), 0u) << lines[1];
        EXPECT_EQ(lines[2].rfind("  2 of 2 pieces of b.bin (split ", 0), 0u) << lines[2];
        EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
    }

    // The estimate tells what --find found, in join order.
    ASSERT_EQ(Run({"restore", "--find", b[1], "-o", restored_, "--estimate"}), DividoraCli::kDone)
        << err_.str();
    const auto lines = Lines(out_.str());
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].rfind("found 2 of 2 pieces of b.bin (split ", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "  " + b[0]);
    EXPECT_EQ(lines[2], "  " + b[1]);
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});

    ASSERT_EQ(Run({"restore", "--find", renamed, "-o", restored_}), DividoraCli::kDone)
        << err_.str();
    EXPECT_TRUE(Holds(restored_ + "/a.bin", ReadAllBytes(source_)));
    ASSERT_EQ(Run({"verify", "--find", a[0]}), DividoraCli::kDone) << err_.str();
    EXPECT_TRUE(HasLine(out_.str(), "  " + renamed)) << out_.str();

    // A folder of one set restores as it is.
    const std::string alone = NewFolder("alone");
    for (const std::string& piece : b) {
        std::filesystem::rename(piece,
                                alone + "/" + std::filesystem::path(piece).filename().string());
    }
    std::filesystem::rename(pieces_ + "/b.xxh128", alone + "/b.xxh128");
    EXPECT_EQ(Run({"restore", alone, "-o", restored_}), DividoraCli::kDone) << err_.str();
    EXPECT_TRUE(Holds(restored_ + "/b.bin", PatternBytes(5000, 7)));

    // What names no set is refused before anything is read or written.
    const std::string empty = NewFolder("empty");
    EXPECT_EQ(Run({"verify", empty}), DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(err_.str(),
                        "dividora-cli: " + empty + " holds no piece file whose header can be read"))
        << err_.str();
    EXPECT_EQ(Run({"restore", "--find", source_, "-o", restored_}), DividoraCli::kFailed);
    EXPECT_EQ(Run({"restore", alone, b[0], "-o", restored_}), DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(err_.str(), "dividora-cli: " + alone +
                                        " is a folder: give one folder alone, or piece files"))
        << err_.str();
    EXPECT_EQ(Run({"restore", alone, "--find", b[0], "-o", restored_}), DividoraCli::kBadUsage);
}

TEST_F(SetCommandTest, ARestoreToStandardOutputPoursTheCheckedFileIntoAPipe) {
    SplitInto(3, pieces_);
    const std::string err = folder_.Path("err.txt");
    std::string bytes;
    ASSERT_EQ(RunIntoPipe("restore '" + pieces_ + "' -o -", err, bytes), DividoraCli::kDone)
        << ReadAllBytes(err);
    EXPECT_EQ(bytes, ReadAllBytes(source_)) << "only the file's bytes reach standard output";
    EXPECT_TRUE(HasLine(ReadAllBytes(err), "ﾃﾞｰﾀの検証\tﾁｪｯｸｻﾑﾌｧｲﾙと一致しました。"))
        << ReadAllBytes(err);
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});

    // A set that fails its header checks sends nothing at all.
    std::filesystem::remove(pieces_ + "/a2.KPX");
    bytes.clear();
    EXPECT_EQ(RunIntoPipe("restore '" + pieces_ + "' -o -", err, bytes), DividoraCli::kFailed);
    EXPECT_EQ(bytes, "");
    EXPECT_NE(ReadAllBytes(err).find("復元実行は失敗しました。"), std::string::npos)
        << ReadAllBytes(err);
}

TEST_F(SetCommandTest, NoChecksumLeavesTheFileOutAndAnEstimateSeesAnOldOne) {
    Split(source_, pieces_, {"--count", "2", "--no-checksum"});
    EXPECT_EQ(FolderEntries(pieces_), (std::vector<std::string>{"a1.KPX", "a2.KPX"}));

    // A checksum file of an earlier split stops the run, so the estimate says so too.
    const std::string other = NewFolder("other");
    WriteAllBytes(other + "/a.xxh128", "# an earlier split\n");
    EXPECT_EQ(Run({"split", source_, "-o", other, "--count", "2", "--estimate"}),
              DividoraCli::kFailed);
    EXPECT_TRUE(
        HasLine(err_.str(), "dividora-cli: " + other + "/a.xxh128 exists; --force replaces it"))
        << err_.str();
    EXPECT_EQ(Run({"split", source_, "-o", other, "--count", "2", "--estimate", "--no-checksum"}),
              DividoraCli::kDone)
        << err_.str();
}

}  // namespace
