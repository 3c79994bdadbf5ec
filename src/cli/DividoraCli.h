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

private:
    int BadUsage(const std::string& agWhy);

    std::ostream& out_;
    std::ostream& err_;
};
