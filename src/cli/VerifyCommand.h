#pragma once

#include <ostream>

struct CliRequest;

// "verify (PIECE... | DIR | --find PIECE)": whether a set is complete, from one split, and
// intact against its checksum file. Reads each piece once and writes nothing.
class VerifyCommand {
public:
    VerifyCommand(std::ostream& agOut, std::ostream& agErr, bool agShowProgress)
        : out_(agOut), err_(agErr), showProgress_(agShowProgress) {}

    // 0 when all of it holds, 1 otherwise, 128 + the signal's number when cancelled.
    int Run(const CliRequest& agRequest);

private:
    std::ostream& out_;
    std::ostream& err_;
    bool showProgress_;
};
