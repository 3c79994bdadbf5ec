#pragma once

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
    static constexpr int kCancelled = 130;

    DividoraCli(std::ostream& agOut, std::ostream& agErr) : out_(agOut), err_(agErr) {}

    // agArguments excludes the program name.
    int Run(const std::vector<std::string>& agArguments);

    static const char* Usage();
    // Says why, then the usage; the bad-usage status.
    static int BadUsage(std::ostream& agErr, const std::string& agWhy);

    // Whether stderr is a terminal, where progress is shown.
    void SetShowProgress(bool agShow) { showProgress_ = agShow; }

private:
    bool showProgress_ = false;

    std::ostream& out_;
    std::ostream& err_;
};
