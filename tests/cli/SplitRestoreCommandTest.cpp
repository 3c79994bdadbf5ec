#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CliCommandTest.h"
#include "DividoraCli.h"
#include "TestFiles.h"
#include "tkvFileString.h"
#include "tkvRunFileName.h"

namespace {

const std::string kTooManyPieces = "警告する分割数の上限を超える分割数が算出されました。";
const std::string kOverwriteRefused = "上書き保存のｲﾍﾞﾝﾄの後、実行をｷｬﾝｾﾙされました。";
const std::string kCountNotChosen = "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割数とﾃﾞｰﾀｸﾗｽの分割数が一致しません。";
const std::string kSplitIDDiffers = "分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割IDが一致しません。";
const std::string kJoinOrderGap =
    "分割元ﾌｧｲﾙが足りない、もしくは、重複しているため結合順序を割り振りできません。";
const std::string kForeignVersion =
    "ﾊﾞｰｼﾞｮﾝが異なる、もしくは、壊れたﾌｧｲﾙのためﾃﾞｰﾀを取得できません。";
const std::string kBadDataSize = "復元元ﾌｧｲﾙのﾌｧｲﾙｻｲｽﾞ情報が異常です。";
const std::string kPieceEndedEarly = "復元元ﾌｧｲﾙのﾃﾞｰﾀが途中で終わっています。";
const std::string kPieceWriteFailed = "分割先ﾌｧｲﾙへの書き込みに失敗しました。";
const std::string kRestoredWriteFailed = "復元先ﾌｧｲﾙへの書き込みに失敗しました。";

using SplitRestoreCommandTest = CliCommandTest;

TEST_F(SplitRestoreCommandTest, SplitBySizeCountsTheHeaderInTheSizeAndRestoresByteForByte) {
    struct Case {
        std::string Size;
        std::string Block;
        int64_t DataPerPiece;
        int Count;
    };
    // 1140 - 140 = 1000 data bytes; 2 KB = 2048; 1.5 KB = 1536; a GB holds the whole source.
    const std::vector<Case> cases{{"1140B", "7", 1000, 10},
                                  {"1140", "1", 1000, 10},
                                  {"2KB", "64MB", 2048 - kHeaderOfA, 6},
                                  {"1.5kb", "1KB", 1536 - kHeaderOfA, 8},
                                  {"1GB", "1MB", 10000, 1}};
    const std::string bytes = ReadAllBytes(source_);
    for (size_t c = 0; c < cases.size(); ++c) {
        const Case& k = cases[c];
        SCOPED_TRACE("--size " + k.Size + " --block " + k.Block);
        const std::string pieces = NewFolder("pieces" + std::to_string(c));
        Split(source_, pieces, {"--size", k.Size, "--block", k.Block});
        std::vector<std::string> names;
        int64_t dataLeft = 10000;
        for (int i = 0; i < k.Count; ++i) {
            std::string number = std::to_string(i + 1);
            if (k.Count >= 10 && i + 1 < 10) {
                number.insert(0, "0");
            }
            names.push_back("a" + number + ".KPX");
            const int64_t data = std::min(dataLeft, k.DataPerPiece);
            EXPECT_EQ(SizeOf(pieces + "/" + names.back()), kHeaderOfA + data) << names.back();
            dataLeft -= data;
        }
        EXPECT_EQ(dataLeft, 0);
        EXPECT_EQ(PieceNames(pieces), names);

        const std::string restored = NewFolder("restored" + std::to_string(c));
        Restore(Shuffled(PathsIn(pieces, names)), restored);
        EXPECT_TRUE(Holds(restored + "/a.bin", bytes));
    }
}

TEST_F(SplitRestoreCommandTest, MegabyteSizesAre1024Based) {
    // 1 MB less the header per piece: two full pieces and 281 bytes.
    WriteAllBytes(source_, PatternBytes(2 * 1048576 + 1, 3));
    Split(source_, pieces_, {"--size", "1MB"});
    ASSERT_EQ(FolderEntries(pieces_),
              (std::vector<std::string>{"a.xxh128", "a1.KPX", "a2.KPX", "a3.KPX"}));
    EXPECT_EQ(SizeOf(pieces_ + "/a1.KPX"), 1048576);
    EXPECT_EQ(SizeOf(pieces_ + "/a2.KPX"), 1048576);
    EXPECT_EQ(SizeOf(pieces_ + "/a3.KPX"),
              kHeaderOfA + 2 * 1048576 + 1 - 2 * (1048576 - kHeaderOfA));
    Restore(Shuffled(PathsIn(pieces_, PieceNames(pieces_))), restored_);
    EXPECT_TRUE(Holds(restored_ + "/a.bin", ReadAllBytes(source_)));
}

TEST_F(SplitRestoreCommandTest, SplitByCountWithEachNamingRestoresByteForByte) {
    // 10000 bytes in 12 pieces: the first four carry the 4 bytes left over.
    const std::string bytes = ReadAllBytes(source_);
    for (const std::string naming : {"padded", "number", "random", ""}) {
        SCOPED_TRACE("--naming " + naming);
        const std::string pieces = NewFolder("pieces-" + naming);
        std::vector<std::string> options{"--count", "12"};
        if (!naming.empty()) {
            options.insert(options.end(), {"--naming", naming});
        }
        Split(source_, pieces, options);
        const auto names = PieceNames(pieces);
        ASSERT_EQ(names.size(), 12u);
        if (naming == "random") {
            // The names tell nothing of the order: 4 pieces of 834 data bytes, 8 of 833.
            std::map<int64_t, int> sizes;
            for (const auto& name : names) {
                EXPECT_TRUE(std::regex_match(name, std::regex("a[0-9A-F]{4}\\.KPX"))) << name;
                ++sizes[SizeOf(pieces + "/" + name)];
            }
            EXPECT_EQ(sizes,
                      (std::map<int64_t, int>{{kHeaderOfA + 833, 8}, {kHeaderOfA + 834, 4}}));
        } else {
            for (int i = 0; i < 12; ++i) {
                const std::string number = std::to_string(i + 1);
                const std::string name =
                    (naming == "number" || i >= 9 ? "a" : "a0") + number + ".KPX";
                EXPECT_EQ(SizeOf(pieces + "/" + name), kHeaderOfA + (i < 4 ? 834 : 833)) << name;
            }
        }

        const std::string restored = NewFolder("restored-" + naming);
        Restore(Shuffled(PathsIn(pieces, names)), restored);
        EXPECT_TRUE(Holds(restored + "/a.bin", bytes));
    }
}

TEST_F(SplitRestoreCommandTest, PieceNamesComeFromTheNameOptionOrTheSourceWithoutExtension) {
    Split(source_, pieces_, {"-n", "part", "--count", "2"});
    EXPECT_EQ(FolderEntries(pieces_),
              (std::vector<std::string>{"part.xxh128", "part1.KPX", "part2.KPX"}));
    // The restored file keeps the source's name, whatever the pieces are called.
    Restore({pieces_ + "/part2.KPX", pieces_ + "/part1.KPX"}, restored_);
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{"a.bin"});

    const std::string archive = folder_.Path("data.tar.gz");
    WriteAllBytes(archive, PatternBytes(50, 2));
    const std::string plain = folder_.Path("README");
    WriteAllBytes(plain, PatternBytes(50, 2));
    const std::string named = NewFolder("named");
    Split(archive, named, {"--count", "1"});
    Split(plain, named, {"--count", "1"});
    EXPECT_EQ(PieceNames(named), (std::vector<std::string>{"README1.KPX", "data.tar1.KPX"}));
}

TEST_F(SplitRestoreCommandTest, BadUsageIsStatus2AndCreatesNothing) {
    const std::string piece = folder_.Path("a1.KPX");
    WriteAllBytes(piece, "not read");
    const std::vector<std::vector<std::string>> cases{
        {"split", source_, "--count", "2"},
        {"split", source_, "-o", pieces_},
        {"split", source_, "-o", pieces_, "--size", "1KB", "--count", "2"},
        {"split", source_, "-o", pieces_, "--size", "10XB"},
        {"split", source_, "-o", pieces_, "--size", "0"},
        {"split", source_, "-o", pieces_, "--size", "0.1B"},
        {"split", source_, "-o", pieces_, "--size", "-5"},
        {"split", source_, "-o", pieces_, "--size", "2GB"},
        {"split", source_, "-o", pieces_, "--size", "3GB"},
        {"split", source_, "-o", pieces_, "--size", "2147483648"},
        {"split", source_, "-o", pieces_, "--size"},
        {"split", source_, "-o", pieces_, "--count", "0"},
        {"split", source_, "-o", pieces_, "--count", "2x"},
        {"split", source_, "-o", pieces_, "--count", "2", "--block", "0"},
        {"split", source_, "-o", pieces_, "--count", "2", "--block", "65MB"},
        {"split", source_, "-o", pieces_, "--count", "2", "--block", "67108865"},
        {"split", source_, "-o", pieces_, "--count", "2", "--max-pieces", "0"},
        {"split", source_, "-o", pieces_, "--count", "2", "--naming", "letters"},
        {"split", source_, "-o", pieces_, "--count", "2", "--frobnicate"},
        {"split", source_, "-o", pieces_, "--count", "2", "--html", ""},
        {"split", "-o", pieces_, "--count", "2"},
        {"split", source_, source_, "-o", pieces_, "--count", "2"},
        {"restore", "-o", restored_},
        {"restore", piece},
        {"restore", piece, "-o", restored_, "--block", "0"},
        {"restore", piece, "-o", restored_, "--block", "65MB"},
        {"restore", piece, "-o", restored_, "--frobnicate"},
        {"restore", piece, "-o", restored_, "--html", ""},
        {"restore", piece, "-o", restored_, "--size", "1KB"},
    };
    for (const auto& arguments : cases) {
        std::string shown;
        for (const auto& word : arguments) {
            shown += word + " ";
        }
        SCOPED_TRACE(shown);
        EXPECT_EQ(Run(arguments), DividoraCli::kBadUsage);
        EXPECT_EQ(err_.str().rfind("dividora-cli: ", 0), 0u) << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
}

TEST_F(SplitRestoreCommandTest, BlockAndSizeLimitsThemselvesAreAccepted) {
    // 2147483647 bytes is the largest piece; 1 byte and 64 MB bound the copy block.
    Split(source_, pieces_, {"--size", "2147483647", "--block", "1B"});
    EXPECT_EQ(PieceNames(pieces_), std::vector<std::string>{"a1.KPX"});
    EXPECT_EQ(Run({"restore", pieces_ + "/a1.KPX", "-o", restored_, "--block", "64MB"}),
              DividoraCli::kDone)
        << err_.str();
    EXPECT_TRUE(Holds(restored_ + "/a.bin", ReadAllBytes(source_)));
}

TEST_F(SplitRestoreCommandTest, AMissingSourceFailsWithStatus1) {
    for (const std::string& missing : {folder_.Path("missing.bin"), folder_.Path("pieces")}) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(Run({"split", missing, "-o", pieces_, "--count", "2"}), DividoraCli::kFailed);
        EXPECT_NE(FirstCause(), "") << err_.str();
        EXPECT_EQ(out_.str(), "");
    }
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
}

TEST_F(SplitRestoreCommandTest, MorePiecesThanTheLimitFailsBeforeAnythingIsWritten) {
    const auto refused = [&](const std::vector<std::string>& agOptions) {
        std::vector<std::string> arguments{"split", source_, "-o", pieces_};
        arguments.insert(arguments.end(), agOptions.begin(), agOptions.end());
        EXPECT_EQ(Run(arguments), DividoraCli::kFailed);
        EXPECT_TRUE(RootCauseIs(kTooManyPieces)) << err_.str();
        EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
    };
    refused({"--count", "4", "--max-pieces", "3"});
    refused({"--size", "1140B", "--max-pieces", "9"});
    refused({"--count", "101"});

    // At the limit itself the split goes ahead.
    Split(source_, pieces_, {"--size", "1140B", "--max-pieces", "10"});
    EXPECT_EQ(PieceNames(pieces_).size(), 10u);
    const std::string more = NewFolder("more");
    Split(source_, more, {"--count", "100"});
    EXPECT_EQ(PieceNames(more).size(), 100u);
}

TEST_F(SplitRestoreCommandTest, SplitReplacesAnExistingPieceOnlyWithForce) {
    const std::string existing = pieces_ + "/a2.KPX";
    WriteAllBytes(existing, "keep me");
    EXPECT_EQ(Run({"split", source_, "-o", pieces_, "--count", "3"}), DividoraCli::kFailed);
    EXPECT_TRUE(RootCauseIs(kOverwriteRefused)) << err_.str();
    EXPECT_TRUE(HasLine(err_.str(), existing)) << err_.str();
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(ReadAllBytes(existing), "keep me");
    // The piece this run made before it stopped is cleared; the refused one stays.
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{"a2.KPX"});

    Split(source_, pieces_, {"--count", "3", "--force"});
    EXPECT_EQ(SizeOf(existing), kHeaderOfA + 3333);
    Restore(PathsIn(pieces_, PieceNames(pieces_)), restored_);
    EXPECT_TRUE(Holds(restored_ + "/a.bin", ReadAllBytes(source_)));
}

TEST_F(SplitRestoreCommandTest, RestoreReplacesAnExistingFileOnlyWithForce) {
    const auto listed = SplitInto(3, pieces_);
    const std::string target = restored_ + "/a.bin";
    WriteAllBytes(target, "keep me");
    EXPECT_EQ(Run({"restore", listed[0], listed[1], listed[2], "-o", restored_}),
              DividoraCli::kFailed);
    EXPECT_TRUE(RootCauseIs(kOverwriteRefused)) << err_.str();
    EXPECT_EQ(ReadAllBytes(target), "keep me");
    EXPECT_EQ(out_.str(), "");

    EXPECT_EQ(Run({"restore", listed[2], listed[0], listed[1], "-o", restored_, "--force"}),
              DividoraCli::kDone)
        << err_.str();
    EXPECT_TRUE(Holds(target, ReadAllBytes(source_)));
}

TEST_F(SplitRestoreCommandTest, RestoreRefusesAnIncompleteOrMixedSetOfPieces) {
    const auto listed = SplitInto(3, pieces_);
    const std::string other = NewFolder("other");
    WriteAllBytes(other + "/a.bin", PatternBytes(10000, 9));
    const std::string otherPieces = NewFolder("other-pieces");
    Split(other + "/a.bin", otherPieces, {"--count", "3"});
    const std::string foreign = otherPieces + "/a2.KPX";
    ASSERT_EQ(listed.size(), 3u);

    struct Case {
        std::vector<std::string> Pieces;
        std::string Cause;
        std::string Blamed;  // the piece named, when one is at fault
    };
    const std::vector<Case> cases{
        {{listed[0], listed[2]}, kCountNotChosen, ""},
        {{listed[0], foreign, listed[2]}, kSplitIDDiffers, foreign},
        {{listed[0], listed[0], listed[2]}, kJoinOrderGap, ""},
    };
    for (const Case& k : cases) {
        std::vector<std::string> arguments{"restore"};
        arguments.insert(arguments.end(), k.Pieces.begin(), k.Pieces.end());
        arguments.insert(arguments.end(), {"-o", restored_});
        SCOPED_TRACE(k.Cause);
        EXPECT_EQ(Run(arguments), DividoraCli::kFailed);
        EXPECT_TRUE(RootCauseIs(k.Cause)) << err_.str();
        if (!k.Blamed.empty()) {
            EXPECT_TRUE(HasLine(err_.str(), k.Blamed)) << err_.str();
        }
        EXPECT_EQ(out_.str(), "");
        EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
    }
}

TEST_F(SplitRestoreCommandTest, RestoreOfADamagedPieceNamesThatPiece) {
    const auto listed = SplitInto(3, pieces_);
    ASSERT_EQ(listed.size(), 3u);
    const std::string whole = ReadAllBytes(listed[1]);
    struct Case {
        std::string Bytes;
        std::vector<std::string> Options;
        std::string Cause;
    };
    const std::vector<Case> cases{
        // A byte of the product name changed.
        {Patched(whole, 6, "#"), {}, kForeignVersion},
        // The data cut short: refused on reading the header, or while joining without the
        // size confirmation.
        {whole.substr(0, whole.size() - 10), {}, kBadDataSize},
        {whole.substr(0, whole.size() - 10), {"--no-confirm-size"}, kPieceEndedEarly},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Cause);
        WriteAllBytes(listed[1], k.Bytes);
        std::vector<std::string> arguments{"restore", listed[2], listed[1],
                                           listed[0], "-o",      restored_};
        arguments.insert(arguments.end(), k.Options.begin(), k.Options.end());
        EXPECT_EQ(Run(arguments), DividoraCli::kFailed);
        EXPECT_TRUE(RootCauseIs(k.Cause)) << err_.str();
        EXPECT_TRUE(HasLine(err_.str(), listed[1])) << err_.str();
        EXPECT_EQ(out_.str(), "");
        EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
    }
}

TEST_F(SplitRestoreCommandTest, AFailedWriteDuringSplitClearsThePieceUnlessKeptPartial) {
    // Each piece needs 3474 bytes; the limit stops the first one halfway.
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "--keep-partial" : "clean-up");
        const std::string pieces = NewFolder(keep ? "kept" : "cleared");
        std::vector<std::string> arguments{"split", source_, "-o", pieces, "--count", "3"};
        if (keep) {
            arguments.push_back("--keep-partial");
        }
        int status = 0;
        {
            ScopedFileSizeLimit limit(2000);
            status = Run(arguments);
        }
        EXPECT_EQ(status, DividoraCli::kFailed);
        EXPECT_TRUE(RootCauseIs(kPieceWriteFailed)) << err_.str();
        EXPECT_TRUE(HasLine(err_.str(), pieces + "/a1.KPX")) << err_.str();
        EXPECT_EQ(out_.str(), "");
        if (keep) {
            EXPECT_EQ(FolderEntries(pieces), std::vector<std::string>{"a1.KPX"});
            EXPECT_LE(SizeOf(pieces + "/a1.KPX"), 2000);
        } else {
            EXPECT_EQ(FolderEntries(pieces), std::vector<std::string>{});
        }
    }
}

TEST_F(SplitRestoreCommandTest, AFailedWriteDuringRestoreClearsTheFileUnlessKeptPartial) {
    const auto listed = SplitInto(3, pieces_);
    ASSERT_EQ(listed.size(), 3u);
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "--keep-partial" : "clean-up");
        const std::string restored = NewFolder(keep ? "kept" : "cleared");
        std::vector<std::string> arguments{"restore", listed[1], listed[0],
                                           listed[2], "-o",      restored};
        if (keep) {
            arguments.push_back("--keep-partial");
        }
        int status = 0;
        {
            ScopedFileSizeLimit limit(5000);
            status = Run(arguments);
        }
        EXPECT_EQ(status, DividoraCli::kFailed);
        EXPECT_TRUE(RootCauseIs(kRestoredWriteFailed)) << err_.str();
        EXPECT_EQ(out_.str(), "");
        if (keep) {
            ASSERT_EQ(FolderEntries(restored), std::vector<std::string>{"a.bin"});
            const int64_t partial = SizeOf(restored + "/a.bin");
            EXPECT_LE(partial, 5000);
            EXPECT_TRUE(Holds(restored + "/a.bin",
                              ReadAllBytes(source_).substr(0, static_cast<size_t>(partial))));
        } else {
            EXPECT_EQ(FolderEntries(restored), std::vector<std::string>{});
        }
        EXPECT_EQ(FolderEntries(pieces_).size(), 4u) << "the pieces and a.xxh128 are only read";
    }
}

TEST_F(SplitRestoreCommandTest, AFileSizeLimitFailsTheWriteInsteadOfEndingTheTool) {
    // Only the limit is lowered here, SIGXFSZ left at its default, which ends a process: the
    // tool itself must ignore it. A child process keeps a wrong outcome from ending the tests.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 2000;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::ostringstream out;
        std::ostringstream err;
        const int status =
            DividoraCli(out, err).Run({"split", source_, "-o", pieces_, "--count", "3"});
        const bool named = err.str().find(kPieceWriteFailed) != std::string::npos;
        ::_exit(named ? status : 99);
    }
    int waited = 0;
    ASSERT_EQ(::waitpid(child, &waited, 0), child);
    ASSERT_TRUE(WIFEXITED(waited)) << "ended by signal " << WTERMSIG(waited);
    EXPECT_EQ(WEXITSTATUS(waited), DividoraCli::kFailed);
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});
}

TEST_F(SplitRestoreCommandTest, EstimatesWriteNothingAndTellWhetherTheRunCanBeDone) {
    const std::string page = folder_.Path("estimate.html");
    EXPECT_EQ(Run({"split", source_, "-o", pieces_, "--count", "3", "--estimate", "--html", page}),
              DividoraCli::kDone)
        << err_.str();
    EXPECT_NE(out_.str().find("a3.KPX"), std::string::npos) << out_.str();
    const std::string copy = ReadAllBytes(page);
    EXPECT_EQ(copy.rfind("<html><body><meta HTTP-EQUIV=\"Content-Type\"", 0), 0u);
    EXPECT_NE(copy.find("href=\"" + page + "\""), std::string::npos)
        << "the copy links to itself, not to the page file that is gone";
    EXPECT_EQ(
        Run({"split", source_, "-o", pieces_, "--count", "4", "--max-pieces", "3", "--estimate"}),
        DividoraCli::kFailed);
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});

    const auto listed = SplitInto(3, pieces_);
    EXPECT_EQ(Run({"restore", listed[2], listed[0], listed[1], "-o", restored_, "--estimate"}),
              DividoraCli::kDone)
        << err_.str();
    EXPECT_EQ(Run({"restore", listed[0], listed[2], "-o", restored_, "--estimate"}),
              DividoraCli::kFailed);
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
}

// Presses Ctrl+C (a real SIGINT to the process) once agPath's temporary file exists, that is
// once the job is writing it. A SIGINT that arrives after the tool has put back the previous
// handler lands in a harmless one here, so a late signal fails the test instead of ending the test
// program.
class CtrlCWhenCreated {
public:
    explicit CtrlCWhenCreated(const std::string& agFinalPath) {
        const std::string name = tkvFileString::GetFileNamePart(agFinalPath);
        const std::string folder = agFinalPath.substr(0, agFinalPath.size() - name.size());
        struct sigaction stray {};
        stray.sa_handler = [](int) { strays = 1; };
        sigemptyset(&stray.sa_mask);
        ::sigaction(SIGINT, &stray, &previous_);
        // The run's temporary file of that name: "." + name + "." + its tag + ".dividora-part".
        const auto writing = [folder, name] {
            for (const std::string& entry : FolderEntries(folder)) {
                tkvRunFileName::Kind kind{};
                std::string tag;
                if (tkvRunFileName::Parse(entry, kind, tag) &&
                    kind == tkvRunFileName::Kind::kPart && entry.rfind("." + name + ".", 0) == 0) {
                    return true;
                }
            }
            return false;
        };
        thread_ = std::thread([this, writing] {
            // The signal must reach the thread running the job, as at a terminal.
            sigset_t block;
            sigemptyset(&block);
            sigaddset(&block, SIGINT);
            ::pthread_sigmask(SIG_BLOCK, &block, nullptr);
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!stop_ && std::chrono::steady_clock::now() < giveUp) {
                if (writing()) {
                    ::kill(::getpid(), SIGINT);
                    pressed_ = true;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
    }
    ~CtrlCWhenCreated() {
        stop_ = true;
        thread_.join();
        ::sigaction(SIGINT, &previous_, nullptr);
    }
    CtrlCWhenCreated(const CtrlCWhenCreated&) = delete;
    CtrlCWhenCreated& operator=(const CtrlCWhenCreated&) = delete;

    bool Pressed() const { return pressed_; }
    static inline volatile sig_atomic_t strays = 0;

private:
    struct sigaction previous_ {};
    std::atomic<bool> stop_{false};
    std::atomic<bool> pressed_{false};
    std::thread thread_;
};

// One-byte blocks make the copy take seconds, far longer than the signal needs to arrive; a
// cancelled run stops within a block.
constexpr int64_t kSlowSourceSize = 4 * 1048576;

TEST_F(SplitRestoreCommandTest, CtrlCDuringSplitCancelsAndClearsThePieces) {
    WriteAllBytes(source_, PatternBytes(kSlowSourceSize, 5));
    CtrlCWhenCreated::strays = 0;
    int status = 0;
    bool pressed = false;
    {
        CtrlCWhenCreated ctrlC(pieces_ + "/a1.KPX");
        status = Run({"split", source_, "-o", pieces_, "--count", "3", "--block", "1B"});
        pressed = ctrlC.Pressed();
    }
    ASSERT_TRUE(pressed) << "the first piece was never written: " << err_.str();
    EXPECT_EQ(CtrlCWhenCreated::strays, 0) << "Ctrl+C came after the split";
    EXPECT_EQ(status, DividoraCli::kCancelled) << err_.str();
    EXPECT_TRUE(HasLine(err_.str(), kCancelled)) << err_.str();
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{});

    // The next run is not cancelled by the earlier Ctrl+C.
    SplitInto(3, pieces_);
}

TEST_F(SplitRestoreCommandTest, CtrlCDuringRestoreCancelsAndClearsTheFile) {
    WriteAllBytes(source_, PatternBytes(kSlowSourceSize, 5));
    const auto listed = SplitInto(3, pieces_);
    ASSERT_EQ(listed.size(), 3u);
    CtrlCWhenCreated::strays = 0;
    int status = 0;
    bool pressed = false;
    {
        CtrlCWhenCreated ctrlC(restored_ + "/a.bin");
        status =
            Run({"restore", listed[0], listed[1], listed[2], "-o", restored_, "--block", "1B"});
        pressed = ctrlC.Pressed();
    }
    ASSERT_TRUE(pressed) << "the restored file was never written: " << err_.str();
    EXPECT_EQ(CtrlCWhenCreated::strays, 0) << "Ctrl+C came after the restore";
    EXPECT_EQ(status, DividoraCli::kCancelled) << err_.str();
    EXPECT_TRUE(HasLine(err_.str(), kCancelled)) << err_.str();
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});
    EXPECT_EQ(FolderEntries(pieces_).size(), 4u);

    Restore(listed, restored_);
    EXPECT_TRUE(Holds(restored_ + "/a.bin", ReadAllBytes(source_)));
}

}  // namespace
