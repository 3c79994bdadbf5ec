#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "CliCommandTest.h"
#include "RunningTool.h"

// The tool run by a tracer that makes the system fail where a device or a user would: a rename
// or a sync that fails, a read error in one file, a signal at a chosen call. What it checks is
// what a script sees: the exit status, the cause and the files left.
namespace {

struct Outcome {
    int Status = -1;  // the exit status; -1 when the tool did not exit
    std::string Out;
    std::string Err;
};

class FaultInjectionTest : public CliCommandTest {
protected:
    void SetUp() override {
        CliCommandTest::SetUp();
        const Outcome probe = Traced({"-e", "trace=none"}, {"--version"});
        if (probe.Status != 0) {
            GTEST_SKIP() << "strace cannot trace here: " << probe.Err;
        }
    }

    // The tool under strace with agTracing (its -e and -P options), the tool's own error
    // stream apart from the tracer's.
    Outcome Traced(const std::vector<std::string>& agTracing,
                   const std::vector<std::string>& agArguments) {
        const std::string out = folder_.Path("traced-out.txt");
        const std::string err = folder_.Path("traced-err.txt");
        const std::string trace = folder_.Path("trace.txt");
        // LeakSanitizer refuses to run under a tracer: a sanitized tool runs without it here.
        const char* sanitizer = std::getenv("ASAN_OPTIONS");
        std::vector<std::string> runner{
            "strace",
            "-f",
            "-qq",
            "-o",
            trace,
            "-E",
            "ASAN_OPTIONS=" + std::string(sanitizer != nullptr ? sanitizer : "") +
                ":detect_leaks=0"};
        runner.insert(runner.end(), agTracing.begin(), agTracing.end());
        RunningTool tool(runner, agArguments, out, err);
        Outcome outcome;
        if (!tool.Started()) {
            outcome.Err = "strace could not be started";
            return outcome;
        }
        const int status = tool.Wait();
        outcome.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.Out = ReadAllBytes(out);
        outcome.Err = ReadAllBytes(err);
        return outcome;
    }

    // How many times agCall is made on agPath while the tool runs agArguments.
    int CallsOn(const std::string& agCall, const std::string& agPath,
                const std::vector<std::string>& agArguments) {
        Traced({"-P", agPath, "-e", "trace=" + agCall}, agArguments);
        int calls = 0;
        for (const std::string& line : Lines(ReadAllBytes(folder_.Path("trace.txt")))) {
            calls += line.find(agCall + "(") != std::string::npos ? 1 : 0;
        }
        return calls;
    }

    static bool StartsWithLine(const std::string& agText, const std::string& agStart) {
        for (const std::string& line : Lines(agText)) {
            if (line.rfind(agStart, 0) == 0) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(FaultInjectionTest, ASplitWhoseFinalNamesFailLeavesTheOlderSetAsItWas) {
    const auto older = SplitInto(3, pieces_);
    std::vector<std::string> before;
    for (const std::string& name : FolderEntries(pieces_)) {
        before.push_back(ReadAllBytes(pieces_ + "/" + name));
    }
    WriteAllBytes(source_, PatternBytes(10000, 7));
    struct Case {
        const char* What;
        std::vector<std::string> Faults;
        std::string FailedPath;
    };
    const std::vector<Case> cases = {
        {"the second rename fails", {"-e", "inject=rename:error=EIO:when=2"}, older[1]},
        // No second names (FAT): every earlier file steps aside before the new one comes.
        {"no hard links, the third rename fails",
         {"-e", "inject=link:error=EPERM", "-e", "inject=rename,renameat2:error=EIO:when=3"},
         older[1]},
        {"the folder cannot be synced", {"-e", "inject=fsync:error=EIO"}, pieces_ + "/"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        const Outcome run =
            Traced(test.Faults, {"split", source_, "-o", pieces_, "--count", "3", "--force"});
        EXPECT_EQ(run.Status, DividoraCli::kFailed) << run.Err;
        EXPECT_TRUE(HasLine(run.Err, "分割先ﾌｧｲﾙへの書き込みに失敗しました。 " + test.FailedPath +
                                         ": Input/output error"))
            << run.Err;
        std::vector<std::string> after;
        for (const std::string& name : FolderEntries(pieces_)) {
            after.push_back(ReadAllBytes(pieces_ + "/" + name));
        }
        EXPECT_TRUE(after == before) << "every earlier file as it was, nothing else";
    }
}

TEST_F(FaultInjectionTest, AnEarlierFileThatCannotBePutBackStaysUnderItsHiddenName) {
    const auto older = SplitInto(3, pieces_);
    const std::string first = ReadAllBytes(older[0]);
    WriteAllBytes(source_, PatternBytes(10000, 7));
    // From the second rename on every rename fails: the commit stops at a2.KPX, and a1.KPX's
    // earlier file cannot take its name back.
    const Outcome run = Traced({"-e", "inject=rename,renameat2:error=EIO:when=2+"},
                               {"split", source_, "-o", pieces_, "--count", "3", "--force"});
    EXPECT_EQ(run.Status, DividoraCli::kFailed);
    EXPECT_NE(run.Err.find("(the earlier file is kept as " + pieces_ + "/.a1.KPX."),
              std::string::npos)
        << run.Err;
    EXPECT_EQ(Run({"clean", pieces_}), DividoraCli::kDone);
    const std::string listed = out_.str();
    const size_t kept = listed.find(pieces_ + "/.a1.KPX.");
    ASSERT_NE(kept, std::string::npos) << listed;
    EXPECT_NE(listed.find("which ended while it gave its files their final names"),
              std::string::npos);
    const std::string keptPath = listed.substr(kept, listed.find(' ', kept) - kept);
    EXPECT_TRUE(keptPath.ends_with(".dividora-old")) << keptPath;
    EXPECT_EQ(ReadAllBytes(keptPath), first) << "the earlier a1.KPX, whole";
}

TEST_F(FaultInjectionTest, ASignalStopsTheCommandsThatDoNotCopy) {
    const auto pieces = SplitInto(3, pieces_);
    const Outcome info = Traced({"-P", pieces[1], "-e", "inject=pread64:signal=INT:when=1"},
                                {"info", pieces[0], pieces[1], pieces[2]});
    EXPECT_EQ(info.Status, 130) << info.Err;
    EXPECT_TRUE(HasLine(info.Err, "dividora-cli: info was cancelled")) << info.Err;
    EXPECT_EQ(info.Out.find(pieces[2]), std::string::npos) << "no piece after the signal";
}

TEST_F(FaultInjectionTest, ASignalEndsTheSplitAsDoneOnceItsFilesHaveTheirFinalNames) {
    struct Case {
        const char* What;
        std::string Fault;
        // The path the calls are counted on: the folder, the log; none for every call.
        std::string On;
        int Status;
        size_t Files;
    };
    const std::string log = folder_.Path("traced-out.txt");
    const std::vector<Case> cases = {
        // Three pieces are synced, then the checksum file: the signal comes before the commit.
        {"before the final names", "inject=fdatasync:signal=TERM:when=4", "", 143, 0},
        // The fifth sync is the run's record noting that the final names come next.
        {"as the commit is noted", "inject=fdatasync:signal=TERM:when=5", "", 143, 0},
        {"at the first final name", "inject=renameat2:signal=TERM:when=1", "", 0, 4},
        // The folder is synced once every file has its final name.
        {"as the folder is synced", "inject=fsync:signal=TERM:when=1", "folder", 0, 4},
        // The log goes out in one write as the tool ends.
        {"as it prints its log", "inject=write:signal=TERM:when=1", log, 0, 4},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.What);
        const std::string folder = NewFolder(std::string("signal ") + test.What);
        std::vector<std::string> tracing{"-e", test.Fault};
        if (!test.On.empty()) {
            tracing.insert(tracing.end(), {"-P", test.On == "folder" ? folder : test.On});
        }
        const Outcome run = Traced(tracing, {"split", source_, "-o", folder, "--count", "3"});
        EXPECT_EQ(run.Status, test.Status) << run.Err;
        EXPECT_EQ(FolderEntries(folder).size(), test.Files);
        EXPECT_EQ(HasLine(run.Err, kCancelled), test.Status != 0) << run.Err;
        EXPECT_EQ(run.Out.empty(), test.Status != 0) << "the log of a done split";
    }
}

TEST_F(FaultInjectionTest, AFileThatCannotBeReadIsNamedWithItsCause) {
    const auto pieces = SplitInto(3, pieces_);
    // The restore reads the second piece's header, then again just before its data: the
    // second look fails.
    const int headerReads = CallsOn("pread64", pieces[1], {"info", pieces[1]});
    ASSERT_GT(headerReads, 0);
    const Outcome copy = Traced(
        {"-P", pieces[1], "-e", "inject=pread64:error=EIO:when=" + std::to_string(headerReads + 1)},
        {"restore", pieces[0], pieces[1], pieces[2], "-o", restored_});
    EXPECT_EQ(copy.Status, DividoraCli::kFailed);
    EXPECT_TRUE(StartsWithLine(
        copy.Err, "復元元ﾌｧｲﾙの読み込みに失敗しました。 " + pieces[1] + ": Input/output error"))
        << copy.Err;
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});

    // Restoring the folder: the piece whose header cannot be read is named, not just missed.
    const Outcome folder = Traced({"-P", pieces[1], "-e", "inject=pread64:error=EIO"},
                                  {"restore", pieces_, "-o", restored_});
    EXPECT_EQ(folder.Status, DividoraCli::kFailed);
    EXPECT_TRUE(HasLine(folder.Err, "dividora-cli: " + pieces[1] +
                                        " could not be read: ﾍｯﾀﾞの読み込みに失敗しました。 "
                                        "Input/output error"))
        << folder.Err;
}

TEST_F(FaultInjectionTest, AKillDuringTheFinalNamesLeavesHiddenFilesThatAreNeverTakenForPieces) {
    const Outcome killed = Traced({"-e", "inject=renameat2:signal=KILL:when=2"},
                                  {"split", source_, "-o", pieces_, "--count", "3"});
    ASSERT_EQ(killed.Status, -1) << "killed by the signal";
    const auto entries = FolderEntries(pieces_);
    ASSERT_EQ(entries.size(), 5u) << "the record, three hidden files and a1.KPX";
    EXPECT_EQ(entries.back(), "a1.KPX");

    EXPECT_EQ(Run({"restore", pieces_, "-o", restored_}), DividoraCli::kFailed);
    EXPECT_TRUE(RootCauseIs("分割元ﾌｧｲﾙのﾍｯﾀﾞ情報の分割数とﾃﾞｰﾀｸﾗｽの分割数が一致しません。"))
        << err_.str();
    EXPECT_TRUE(HasLine(err_.str(), "dividora-cli: " + pieces_ +
                                        " holds hidden files of a split or restore that ended "
                                        "early; 'dividora-cli clean " +
                                        pieces_ + "' lists them"))
        << err_.str();
    EXPECT_EQ(FolderEntries(restored_), std::vector<std::string>{});

    EXPECT_EQ(Run({"clean", pieces_}), DividoraCli::kDone);
    EXPECT_NE(out_.str().find("which ended while it gave its files their final names"),
              std::string::npos)
        << out_.str();
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        EXPECT_NE(out_.str().find(pieces_ + "/" + entries[i]), std::string::npos) << entries[i];
    }
    EXPECT_EQ(FolderEntries(pieces_), entries) << "listing removes nothing";
    EXPECT_EQ(Run({"clean", pieces_, "--remove"}), DividoraCli::kDone);
    EXPECT_EQ(FolderEntries(pieces_), std::vector<std::string>{"a1.KPX"});
    EXPECT_EQ(Run({"clean", pieces_, source_}), DividoraCli::kFailed);
    EXPECT_EQ(out_.str(), pieces_ + ": nothing left by ended runs\n");
    EXPECT_EQ(err_.str(), "dividora-cli: " + source_ + " is no folder\n");
}

}  // namespace
