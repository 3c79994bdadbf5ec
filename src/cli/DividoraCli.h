#pragma once

#include <csignal>
#include <ostream>
#include <string>
#include <vector>

// The command-line tool over the core. Commands take their streams, so tests read what a user
// would see.
class DividoraCli {
public:
    // Exit statuses.
    static constexpr int kDone = 0;
    static constexpr int kFailed = 1;
    static constexpr int kBadUsage = 2;
    // A run cancelled by a signal ends with 128 + its number, as a shell reports a process the
    // signal ended: 130 for SIGINT (Ctrl+C), 143 for SIGTERM, 129 for SIGHUP.
    static constexpr int kSignalBase = 128;
    static constexpr int CancelledBy(int agSignal) { return kSignalBase + agSignal; }
    static constexpr int kCancelled = kSignalBase + SIGINT;

    DividoraCli(std::ostream& agOut, std::ostream& agErr) : out_(agOut), err_(agErr) {}

    // agArguments excludes the program name.
    int Run(const std::vector<std::string>& agArguments);

    // Whether stderr is a terminal, where progress is shown.
    void SetShowProgress(bool agShow) { showProgress_ = agShow; }
    // For a process that ends with the command: the cancel signals stay caught after Run, so a
    // signal that arrives once the outcome is settled cannot end the process another way.
    void SetSignalsCaughtToExit(bool agCaught) { signalsCaughtToExit_ = agCaught; }

private:
    bool showProgress_ = false;
    bool signalsCaughtToExit_ = false;

    std::ostream& out_;
    std::ostream& err_;
};
