#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "CliCommandTest.h"
#include "RunningTool.h"

namespace {

// Long enough with one-byte blocks that the signal lands while the run writes.
constexpr int64_t kSlowSourceSize = 4 * 1048576;

using SignalTest = CliCommandTest;

TEST_F(SignalTest, SigtermAndSighupCancelLikeCtrlCAndLeaveNothingBehind) {
    WriteAllBytes(source_, PatternBytes(kSlowSourceSize, 5));
    const auto listed = SplitInto(3, NewFolder("set"));
    struct Case {
        int Signal;
        std::vector<std::string> Arguments;
        std::string Target;  // the folder the run writes into
        int Status;          // 128 + the signal's number, as shells report it
    };
    const std::vector<Case> cases{
        {SIGTERM, {"split", source_, "-o", pieces_, "--count", "3", "--block", "1"}, pieces_, 143},
        {SIGHUP,
         {"restore", listed[0], listed[1], listed[2], "-o", restored_, "--block", "1"},
         restored_,
         129},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.Arguments.front() + " and signal " + std::to_string(k.Signal));
        const std::string out = folder_.Path(k.Arguments.front() + "-out.txt");
        const std::string err = folder_.Path(k.Arguments.front() + "-err.txt");
        RunningTool tool(k.Arguments, out, err);
        ASSERT_TRUE(tool.Started());
        // The signal goes once the run has begun to write.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (FolderEntries(k.Target).empty() && !tool.Ended() &&
               std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        ASSERT_FALSE(tool.Ended()) << "the run ended before the signal: " << ReadAllBytes(err);
        ASSERT_FALSE(FolderEntries(k.Target).empty()) << "the run never began to write";
        tool.Send(k.Signal);
        const int status = tool.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), k.Status);
        EXPECT_TRUE(HasLine(ReadAllBytes(err), kCancelled)) << ReadAllBytes(err);
        EXPECT_EQ(ReadAllBytes(out), "");
        EXPECT_EQ(FolderEntries(k.Target), std::vector<std::string>{}) << "no piece, no temporary";
    }
    EXPECT_EQ(FolderEntries(folder_.Path("set")).size(), 4u) << "the pieces and a.xxh128";
}

}  // namespace
