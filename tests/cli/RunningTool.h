#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

extern char** environ;

// The built tool, started as a user would: its own process, output into files, the three
// signals at their defaults. Another program (found on PATH) can run it, such as a tracer
// that injects faults.
class RunningTool {
public:
    RunningTool(const std::vector<std::string>& agArguments, const std::string& agOut,
                const std::string& agErr)
        : RunningTool({}, agArguments, agOut, agErr) {}
    // agRunner, then the tool, then agArguments.
    RunningTool(const std::vector<std::string>& agRunner,
                const std::vector<std::string>& agArguments, const std::string& agOut,
                const std::string& agErr) {
        std::vector<std::string> words = agRunner;
        words.push_back(DIVIDORA_CLI_PROGRAM);
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
        if (::posix_spawnp(&pid_, argv.front(), &actions, &attributes, argv.data(), environ) != 0) {
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
