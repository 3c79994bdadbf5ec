#pragma once

#include <ostream>
#include <string>
#include <vector>

// "split SOURCE -o DIR ...": cuts a file into piece files.
class SplitCommand {
public:
    SplitCommand(std::ostream& agOut, std::ostream& agErr, bool agShowProgress)
        : out_(agOut), err_(agErr), showProgress_(agShowProgress) {}

    // 0 done, 1 failed, 2 bad usage, 130 cancelled with Ctrl+C.
    int Run(const std::vector<std::string>& agArguments);

private:
    std::ostream& out_;
    std::ostream& err_;
    bool showProgress_;
};
