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

extern char** environ;

namespace {

// Long enough with one-byte blocks that the signal lands while the run writes.
constexpr int64_t kSlowSourceSize = 4 * 1048576;

// The built tool, started as a user would: its own process, output into files, the three
// signals at their defaults.
class RunningTool {
public:
    RunningTool(const std::vector<std::string>& agArguments, const std::string& agOut,
                const std::string& agErr) {
        std::vector<std::string> words{DIVIDORA_CLI_PROGRAM};
        words.insert(words.end(), agArguments.begin(), agArguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, agOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_addopen(&actions, 2, agErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
            sigaddset(&defaults, signal);
        }
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        if (::posix_spawn(&pid_, argv.front(), &actions, &attributes, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }
    ~RunningTool() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
    }
    RunningTool(const RunningTool&) = delete;
    RunningTool& operator=(const RunningTool&) = delete;

    bool Started() const { return pid_ > 0; }
    bool Ended() {
        int status = 0;
        if (!waited_ && ::waitpid(pid_, &status, WNOHANG) == pid_) {
            waited_ = true;
            status_ = status;
        }
        return waited_;
    }
    void Send(int agSignal) const { ::kill(pid_, agSignal); }
    // The wait status.
    int Wait() {
        if (!waited_ && ::waitpid(pid_, &status_, 0) == pid_) {
            waited_ = true;
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    bool waited_ = false;
    int status_ = 0;
};

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
