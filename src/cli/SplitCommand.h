#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct CliRequest;

// "split SOURCE -o DIR ...": cuts a file into piece files.
class SplitCommand {
public:
    SplitCommand(std::ostream& agOut, std::ostream& agErr, bool agShowProgress)
        : out_(agOut), err_(agErr), showProgress_(agShowProgress) {}

    // agRequest as the parser checked it. 0 done, 1 failed, 2 a refused --html file, 128 + the
    // signal's number when cancelled.
    int Run(const CliRequest& agRequest);

private:
    // After a failed run or estimate: says so when the split stopped on the piece limit.
    void ExplainPieceLimit(const CliRequest& agRequest, int64_t agPieceSize);
    // After an estimate: the destination problems the run would stop on, among the pieces and
    // the checksum file (none when empty); whether there were any.
    bool CheckDestination(const CliRequest& agRequest, const std::string& agName,
                          const std::vector<std::string>& agEstimated,
                          const std::string& agChecksumFile);

    std::ostream& out_;
    std::ostream& err_;
    bool showProgress_;
};
